// Zobu 4 platform floor: wsprintfA.
//
// wsprintfA knows only integers, characters and strings: %d %i %u %x %X %c %s, with the
// flags '-', '0' and '#', a width, a precision (for strings, the most characters taken),
// and the size prefixes 'l' and 'h' (here "%I64d" too, as Windows has it). No floating
// point, no '*'. It writes at most 1024 bytes including the terminating NUL and returns the
// number of characters written, not counting the NUL, as Windows' does.
#include <windows.h>

#include <stdarg.h>
#include <string.h>

namespace {

constexpr int kMaxOutput = 1024;

class Output {
  public:
    explicit Output(LPSTR buffer) : buffer_(buffer) {}
    void Put(char c) {
        if (length_ < kMaxOutput - 1) {
            buffer_[length_++] = c;
        }
    }
    void Pad(char c, int count) {
        for (int i = 0; i < count; ++i) {
            Put(c);
        }
    }
    int Finish() {
        buffer_[length_] = '\0';
        return length_;
    }

  private:
    LPSTR buffer_;
    int length_ = 0;
};

} // namespace

int WINAPIV wsprintfA(LPSTR buffer, LPCSTR format, ...) {
    if (!buffer || !format) {
        return 0;
    }
    Output out(buffer);
    va_list args;
    va_start(args, format);
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            out.Put(*p);
            continue;
        }
        const char* start = p++;
        bool left = false, zero = false, alternate = false;
        for (;; ++p) {
            if (*p == '-') {
                left = true;
            } else if (*p == '0') {
                zero = true;
            } else if (*p == '#') {
                alternate = true;
            } else {
                break;
            }
        }
        int width = 0;
        while (*p >= '0' && *p <= '9' && width < kMaxOutput) {
            width = width * 10 + (*p++ - '0');
        }
        int precision = -1;
        if (*p == '.') {
            precision = 0;
            ++p;
            while (*p >= '0' && *p <= '9' && precision < kMaxOutput) {
                precision = precision * 10 + (*p++ - '0');
            }
        }
        bool wide64 = false;
        if (*p == 'l' || *p == 'h') {
            ++p;
        } else if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
            wide64 = true;
            p += 3;
        }
        char digits[32];
        int count = 0;
        const char* text = digits;
        bool negative = false;
        const char* prefix = "";
        switch (*p) {
        case 'd':
        case 'i':
        case 'u':
        case 'x':
        case 'X': {
            unsigned long long value = 0;
            if (*p == 'd' || *p == 'i') {
                const long long v = wide64 ? va_arg(args, long long) : va_arg(args, int);
                negative = v < 0;
                value = negative ? 0ull - static_cast<unsigned long long>(v)
                                 : static_cast<unsigned long long>(v);
            } else {
                value = wide64 ? va_arg(args, unsigned long long) : va_arg(args, unsigned int);
            }
            const unsigned base = (*p == 'x' || *p == 'X') ? 16 : 10;
            const char* alphabet = *p == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
            char reversed[32];
            int n = 0;
            do {
                reversed[n++] = alphabet[value % base];
                value /= base;
            } while (value);
            while (n) {
                digits[count++] = reversed[--n];
            }
            if (alternate && base == 16) {
                prefix = *p == 'X' ? "0X" : "0x";
            }
            break;
        }
        case 'c':
            digits[0] = static_cast<char>(va_arg(args, int));
            count = 1;
            break;
        case 's': {
            text = va_arg(args, const char*);
            if (!text) {
                text = "(null)";
            }
            const size_t max = precision >= 0 ? static_cast<size_t>(precision) : kMaxOutput;
            count = static_cast<int>(strnlen(text, max));
            break;
        }
        case '%':
            out.Put('%');
            continue;
        default:
            // Not a conversion Windows knows: the text is copied as it stands.
            for (const char* q = start; q <= p && *q; ++q) {
                out.Put(*q);
            }
            if (!*p) {
                --p;
            }
            continue;
        }
        const int sign = negative ? 1 : 0;
        const int body = count + sign + static_cast<int>(strlen(prefix));
        const int padding = width > body ? width - body : 0;
        if (!left && !zero) {
            out.Pad(' ', padding);
        }
        if (negative) {
            out.Put('-');
        }
        for (const char* q = prefix; *q; ++q) {
            out.Put(*q);
        }
        if (!left && zero) {
            out.Pad('0', padding);
        }
        for (int i = 0; i < count; ++i) {
            out.Put(text[i]);
        }
        if (left) {
            out.Pad(' ', padding);
        }
    }
    va_end(args);
    return out.Finish();
}
