// A stand-in for the screen layer's Image, linked into game tests in its place: it records
// which Images were destroyed, by the names the test gave them.
#pragma once

class Image;

// Gives an Image a name for the record.
void StubNameImage(const Image* image, const char* name);

// Appends "destroyed <name>" to standard output, unbuffered, so that it shows even when
// printed from a static destructor after main has returned.
void StubReportDestroy(const Image* image);
