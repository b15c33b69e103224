// Zobu 4: the three game objects.
//
// Defined together, in this order, so that they are constructed before WinMain as Dropper,
// Pot, FallingItem, and destroyed at exit in the reverse order: FallingItem, Pot, Dropper.
#include "game/dropper.h"
#include "game/falling_item.h"
#include "game/pot.h"

class Dropper Dropper;
class Pot Pot;
class FallingItem FallingItem;
