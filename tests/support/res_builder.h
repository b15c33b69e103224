// Writes .res files entry by entry, in the layout windres writes.
#pragma once

#include <windows.h>

#include "support/bmp_writer.h"

#include <set>
#include <string>
#include <vector>

class ResBuilder {
  public:
    ResBuilder() { Add(0, 0, 0, {}); } // the empty entry that opens every .res

    ResBuilder& Add(WORD type, WORD name, WORD language, std::vector<uint8_t> data) {
        return Add(Number(type), Number(name), language, std::move(data));
    }
    ResBuilder& Add(WORD type, const std::u16string& name, WORD language,
                    std::vector<uint8_t> data) {
        return Add(Number(type), Text(name), language, std::move(data));
    }

    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    const std::set<size_t>& EntryEnds() const { return ends_; }

  private:
    static std::vector<uint8_t> Number(WORD n) {
        return {0xFF, 0xFF, static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8)};
    }
    static std::vector<uint8_t> Text(const std::u16string& s) {
        std::vector<uint8_t> out;
        for (char16_t c : s) {
            out.push_back(static_cast<uint8_t>(c));
            out.push_back(static_cast<uint8_t>(c >> 8));
        }
        out.insert(out.end(), {0, 0});
        while (out.size() % 4) {
            out.push_back(0);
        }
        return out;
    }
    ResBuilder& Add(const std::vector<uint8_t>& type, const std::vector<uint8_t>& name,
                    WORD language, std::vector<uint8_t> data) {
        std::vector<uint8_t> header;
        header.insert(header.end(), type.begin(), type.end());
        header.insert(header.end(), name.begin(), name.end());
        PutLe(header, 0, 4);                                 // data version
        PutLe(header, 0x1030u | (DWORD{language} << 16), 4); // memory flags, language
        PutLe(header, 0, 4);                                 // version
        PutLe(header, 0, 4);                                 // characteristics
        PutLe(bytes_, static_cast<DWORD>(data.size()), 4);
        PutLe(bytes_, static_cast<DWORD>(8 + header.size()), 4);
        bytes_.insert(bytes_.end(), header.begin(), header.end());
        bytes_.insert(bytes_.end(), data.begin(), data.end());
        ends_.insert(bytes_.size()); // a last entry may lack all or part of its padding
        while (bytes_.size() % 4) {
            bytes_.push_back(0);
            ends_.insert(bytes_.size());
        }
        return *this;
    }

    std::vector<uint8_t> bytes_;
    std::set<size_t> ends_;
};
