// A stand-in for the screen layer's Image: construction and Destroy only, which is all the
// game world calls on an Image.
#include "stubs/image_stub.h"

#include "screen/image.h"

#include <string.h>
#include <unistd.h>

#include <map>
#include <string>

namespace {
std::map<const Image*, std::string>& Names() {
    static auto* names = new std::map<const Image*, std::string>(); // outlives every static
    return *names;
}
} // namespace

void StubNameImage(const Image* image, const char* name) {
    Names()[image] = name;
}

void StubReportDestroy(const Image* image) {
    const std::string line = "destroyed " + Names()[image] + "\n";
    (void)!write(STDOUT_FILENO, line.data(), line.size());
}

Image::Image() : surface(nullptr), colorKeyed(FALSE) {}

void Image::Destroy() {
    StubReportDestroy(this);
}
