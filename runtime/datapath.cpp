// Data paths: the "cobalt://" schemes, the UTF-8/UTF-16 text codec shared by
// the state file and LoadString, whole-file reads and BBDataBuffer.
#include "runtime/datapath.h"

#include <cstdlib>
#include <cstring>

String bb_data_FixDataPath(const String& path) {
    int scheme = path.Find(":/");
    if (scheme >= 0) {
        int slash = path.Find("/");
        if (slash == scheme + 1) return path;
    }
    if (path.StartsWith("./") || path.StartsWith("/")) return path;
    return "cobalt://data/" + path;
}

namespace {

struct Scheme {
    const char* prefix;
    const char* folder;
};

constexpr Scheme kSchemes[] = {
    {"cobalt://data/", "./data/"},
    {"cobalt://internal/", "./internal/"},
    {"cobalt://external/", "./external/"},
};

// File names are byte strings here; the String built from 8-bit text holds one
// unit per byte, so the low bytes give the name back. A unit that no byte can
// stand for (or a NUL) names no file rather than the wrong one.
bool ToFileName(const String& text, std::string* out) {
    out->clear();
    out->reserve(static_cast<size_t>(text.Length()));
    for (char16_t unit : text.Units()) {
        if (unit == 0 || unit > 0xFF) return false;
        out->push_back(static_cast<char>(unit));
    }
    return true;
}

} // namespace

FILE* fopenFile(const String& path, const String& mode) {
    String resolved = path;
    if (path.StartsWith("cobalt://")) {
        bool known = false;
        for (const Scheme& scheme : kSchemes) {
            String prefix(scheme.prefix);
            if (path.StartsWith(prefix)) {
                resolved = String(scheme.folder) + path.Slice(prefix.Length());
                known = true;
                break;
            }
        }
        if (!known) return nullptr;
    }
    std::string name;
    std::string openMode;
    if (!ToFileName(resolved, &name) || !ToFileName(mode, &openMode) || name.empty()) return nullptr;
    return std::fopen(name.c_str(), openMode.c_str());
}

std::string EncodeStateText(const String& text) {
    // Sized first and filled by index: the text can be long and this runs on every save.
    const std::u16string_view units = text.Units();
    size_t size = 0;
    for (char16_t c : units) size += c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
    std::string bytes(size, '\0');
    char* out = bytes.data();
    for (char16_t c : units) {
        if (c < 0x80) {
            *out++ = static_cast<char>(c);
        } else if (c < 0x800) {
            *out++ = static_cast<char>(0xC0 | (c >> 6));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *out++ = static_cast<char>(0xE0 | (c >> 12));
            *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return bytes;
}

namespace {

String DecodeUtf16(const unsigned char* bytes, size_t count, bool bigEndian) {
    std::u16string units(count / 2, u'\0');
    for (size_t i = 0; i + 1 < count; i += 2) {
        unsigned hi = bigEndian ? bytes[i] : bytes[i + 1];
        unsigned lo = bigEndian ? bytes[i + 1] : bytes[i];
        units[i / 2] = static_cast<char16_t>((hi << 8) | lo);
    }
    return String(std::move(units));
}

bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// False when the bytes are not UTF-8 as this codec knows it (one to three bytes).
bool DecodeUtf8(const unsigned char* bytes, size_t count, std::u16string* units) {
    // Never more units than bytes: fill by index, then cut to the length.
    units->resize(count);
    char16_t* out = units->data();
    size_t i = 0;
    while (i < count) {
        unsigned b = bytes[i];
        if (b < 0x80) {
            *out++ = static_cast<char16_t>(b);
            i += 1;
        } else if ((b & 0xE0) == 0xC0) {
            if (i + 1 >= count || !IsContinuation(bytes[i + 1])) return false;
            *out++ = static_cast<char16_t>(((b << 6) & 0x7FF) | (bytes[i + 1] & 0x3F));
            i += 2;
        } else if ((b & 0xF0) == 0xE0) {
            if (i + 2 >= count || !IsContinuation(bytes[i + 1]) || !IsContinuation(bytes[i + 2]))
                return false;
            unsigned unit = (b << 12) | ((bytes[i + 1] << 6) & 0xFFF) | (bytes[i + 2] & 0x3F);
            *out++ = static_cast<char16_t>(unit & 0xFFFF);
            i += 3;
        } else {
            return false;
        }
    }
    units->resize(static_cast<size_t>(out - units->data()));
    return true;
}

} // namespace

String DecodeStateText(const unsigned char* bytes, size_t count) {
    if (count == 0) return String();
    if (count >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) return DecodeUtf16(bytes + 2, count - 2, true);
    if (count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return DecodeUtf16(bytes + 2, count - 2, false);
    if (count >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        bytes += 3;
        count -= 3;
    }
    std::u16string units;
    if (DecodeUtf8(bytes, count, &units)) return String(std::move(units));
    Print("Invalid UTF-8!");
    units.assign(bytes, bytes + count);
    return String(std::move(units));
}

std::string ReadWholeFile(FILE* file) {
    std::string bytes;
    char chunk[4096];
    for (;;) {
        size_t got = std::fread(chunk, 1, sizeof chunk, file);
        bytes.append(chunk, got);
        if (got < sizeof chunk) break;
    }
    return bytes;
}

BBDataBuffer::~BBDataBuffer() {
    Discard();
}

bool BBDataBuffer::_New(int length) {
    if (bytes || length < 0) return false;
    // At least one byte so that a zero-length buffer still counts as made.
    bytes = static_cast<unsigned char*>(std::malloc(length > 0 ? static_cast<size_t>(length) : 1));
    if (!bytes) return false;
    byteCount = length;
    return true;
}

bool BBDataBuffer::_Load(const String& path) {
    if (bytes) return false;
    FILE* file = fopenFile(path, "rb");
    if (!file) return false;
    std::string data = ReadWholeFile(file);
    std::fclose(file);
    if (data.size() > static_cast<size_t>(INT32_MAX)) return false;
    if (!_New(static_cast<int>(data.size()))) return false;
    std::memcpy(bytes, data.data(), data.size());
    return true;
}

void BBDataBuffer::Discard() {
    std::free(bytes);
    bytes = nullptr;
    byteCount = 0;
}

void BBDataBuffer::PokeByte(int offset, int value) {
    bytes[offset] = static_cast<unsigned char>(value);
}

void BBDataBuffer::PokeShort(int offset, int value) {
    bytes[offset] = static_cast<unsigned char>(value);
    bytes[offset + 1] = static_cast<unsigned char>(value >> 8);
}

void BBDataBuffer::PokeInt(int offset, int value) {
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<unsigned char>(v >> (8 * i));
}

void BBDataBuffer::PokeFloat(int offset, float value) {
    uint32_t v;
    std::memcpy(&v, &value, sizeof v);
    PokeInt(offset, static_cast<int>(v));
}

int BBDataBuffer::PeekByte(int offset) const {
    return static_cast<signed char>(bytes[offset]);
}

int BBDataBuffer::PeekShort(int offset) const {
    return static_cast<int16_t>(static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8)));
}

int BBDataBuffer::PeekInt(int offset) const {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(bytes[offset + i]) << (8 * i);
    return static_cast<int>(v);
}

float BBDataBuffer::PeekFloat(int offset) const {
    uint32_t v = static_cast<uint32_t>(PeekInt(offset));
    float value;
    std::memcpy(&value, &v, sizeof value);
    return value;
}
