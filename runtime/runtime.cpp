// The runtime's own types and exits: String's storage, its conversions and
// text operations, console output and the runtime-error exit.
#include "runtime/runtime.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

void String::Reserve(int units) {
    if (units <= capacity_) return;
    const int capacity = std::max(units, 2 * capacity_);
    char16_t* grown = new char16_t[static_cast<size_t>(capacity) + 1];
    std::copy(Data(), Data() + length_ + 1, grown);
    delete[] heap_;
    heap_ = grown;
    capacity_ = capacity;
}

void String::Append(const char16_t* units, int count) {
    if (count <= 0) return;
    const int length = length_ + count;
    if (length > capacity_) {
        // The units may come from this very text: copy them before the old buffer goes.
        const int capacity = std::max(length, 2 * capacity_);
        char16_t* grown = new char16_t[static_cast<size_t>(capacity) + 1];
        std::copy(Data(), Data() + length_, grown);
        std::copy(units, units + count, grown + length_);
        delete[] heap_;
        heap_ = grown;
        capacity_ = capacity;
    } else {
        std::memmove(Buffer() + length_, units, static_cast<size_t>(count) * sizeof(char16_t));
    }
    length_ = length;
    Buffer()[length_] = 0;
}

void String::AppendBytes(const char* bytes, int count) {
    if (count <= 0) return;
    Reserve(length_ + count);
    char16_t* out = Buffer() + length_;
    for (int i = 0; i < count; ++i) out[i] = static_cast<unsigned char>(bytes[i]);
    length_ += count;
    Buffer()[length_] = 0;
}

String::String(const char* text) : String() {
    if (text) AppendBytes(text, static_cast<int>(std::strlen(text)));
}

String::String(const char* text, int count) : String() {
    if (text) AppendBytes(text, count);
}

String::String(const std::string& text) : String() {
    AppendBytes(text.data(), static_cast<int>(text.size()));
}

String::String(const char16_t* units, int count) : String() {
    Append(units, count);
}

String::String(std::u16string_view units) : String() {
    Append(units.data(), static_cast<int>(units.size()));
}

String::String(int value) : String() {
    char buffer[16];
    const int count = std::snprintf(buffer, sizeof buffer, "%i", value);
    AppendBytes(buffer, count);
}

String::String(float value) : String(static_cast<double>(value)) {}

String::String(double value) : String() {
    char buffer[64];
    int count = std::snprintf(buffer, sizeof buffer, "%.17lg", value);
    if (!std::memchr(buffer, '.', static_cast<size_t>(count)) &&
        !std::memchr(buffer, 'e', static_cast<size_t>(count)))
        count += std::snprintf(buffer + count, sizeof buffer - static_cast<size_t>(count), ".0");
    AppendBytes(buffer, count);
}

String::String(const String& other) : String() {
    Append(other.Data(), other.length_);
}

String::String(String&& other) noexcept : String() {
    *this = std::move(other);
}

String& String::operator=(const String& other) {
    if (this == &other) return *this;
    length_ = 0;
    Buffer()[0] = 0;
    Append(other.Data(), other.length_);
    return *this;
}

String& String::operator=(String&& other) noexcept {
    if (this == &other) return *this;
    if (other.heap_) {
        delete[] heap_;
        heap_ = other.heap_;
        capacity_ = other.capacity_;
        length_ = other.length_;
        other.heap_ = nullptr;
        other.capacity_ = kInlineUnits;
    } else {
        // Fits inline_ whatever this held, since the other one did.
        std::copy(other.inline_, other.inline_ + other.length_ + 1, Buffer());
        length_ = other.length_;
    }
    other.length_ = 0;
    other.inline_[0] = 0;
    return *this;
}

String String::operator+(const String& other) const {
    String result;
    result.Reserve(length_ + other.length_);
    result.Append(Data(), length_);
    result.Append(other.Data(), other.length_);
    return result;
}

String String::operator+(const char* other) const {
    const int count = other ? static_cast<int>(std::strlen(other)) : 0;
    String result;
    result.Reserve(length_ + count);
    result.Append(Data(), length_);
    result.AppendBytes(other, count);
    return result;
}

String String::operator+(int value) const {
    char buffer[16];
    const int count = std::snprintf(buffer, sizeof buffer, "%i", value);
    String result;
    result.Reserve(length_ + count);
    result.Append(Data(), length_);
    result.AppendBytes(buffer, count);
    return result;
}

String& String::operator+=(const String& other) {
    Append(other.Data(), other.length_);
    return *this;
}

bool String::operator==(const char* other) const {
    if (!other) return length_ == 0;
    const char16_t* units = Data();
    for (int i = 0; i < length_; ++i)
        if (other[i] == 0 || units[i] != static_cast<unsigned char>(other[i])) return false;
    return other[length_] == 0;
}

String operator+(const char* left, const String& right) {
    String result(left);
    result += right;
    return result;
}

int String::Find(const String& sub, int start) const {
    if (start < 0) start = 0;
    if (start > Length()) return -1;
    size_t at = Units().find(sub.Units(), static_cast<size_t>(start));
    return at == std::u16string_view::npos ? -1 : static_cast<int>(at);
}

int String::FindLast(const String& sub) const {
    size_t at = Units().rfind(sub.Units());
    return at == std::u16string_view::npos ? -1 : static_cast<int>(at);
}

int String::FindLast(const String& sub, int start) const {
    if (start < 0) return -1;
    size_t at = Units().rfind(sub.Units(), static_cast<size_t>(start));
    return at == std::u16string_view::npos ? -1 : static_cast<int>(at);
}

bool String::StartsWith(const String& prefix) const {
    return Units().starts_with(prefix.Units());
}

bool String::EndsWith(const String& suffix) const {
    return Units().ends_with(suffix.Units());
}

static int ClampIndex(int index, int length) {
    if (index < 0) index += length;
    return std::clamp(index, 0, length);
}

String String::Slice(int from) const {
    return Slice(from, Length());
}

String String::Slice(int from, int to) const {
    int length = Length();
    from = ClampIndex(from, length);
    to = ClampIndex(to, length);
    if (to <= from) return String();
    return String(Data() + from, to - from);
}

std::vector<String> String::Split(const String& separator) const {
    std::vector<String> pieces;
    const std::u16string_view units = Units();
    if (separator.IsEmpty()) {
        for (const char16_t& unit : units) pieces.emplace_back(&unit, 1);
        return pieces;
    }
    const std::u16string_view sep = separator.Units();
    size_t start = 0;
    for (;;) {
        // A one-unit separator, the common case, needs no substring compare.
        size_t at = sep.size() == 1 ? units.find(sep[0], start) : units.find(sep, start);
        if (at == std::u16string_view::npos) break;
        pieces.emplace_back(units.substr(start, at - start));
        start = at + sep.size();
    }
    pieces.emplace_back(units.substr(start));
    return pieces;
}

String String::Replace(const String& find, const String& with) const {
    if (find.IsEmpty()) return *this;
    const std::u16string_view units = Units();
    const std::u16string_view pattern = find.Units();
    String result;
    size_t start = 0;
    for (;;) {
        size_t at = units.find(pattern, start);
        if (at == std::u16string_view::npos) break;
        result.Append(units.data() + start, static_cast<int>(at - start));
        result += with;
        start = at + pattern.size();
    }
    result.Append(units.data() + start, static_cast<int>(units.size() - start));
    return result;
}

String String::ToLower() const {
    String result(*this);
    char16_t* units = result.Buffer();
    for (int i = 0; i < result.length_; ++i)
        if (units[i] >= 'A' && units[i] <= 'Z') units[i] = static_cast<char16_t>(units[i] + 32);
    return result;
}

String String::ToUpper() const {
    String result(*this);
    char16_t* units = result.Buffer();
    for (int i = 0; i < result.length_; ++i)
        if (units[i] >= 'a' && units[i] <= 'z') units[i] = static_cast<char16_t>(units[i] - 32);
    return result;
}

std::string String::ToCString() const {
    std::string result(static_cast<size_t>(length_), '\0');
    const char16_t* units = Data();
    for (int i = 0; i < length_; ++i) result[static_cast<size_t>(i)] = static_cast<char>(units[i] & 0xFF);
    return result;
}

std::wstring String::ToWString() const {
    return std::wstring(Units().begin(), Units().end());
}

void Print(const String& text) {
    std::string bytes = text.ToCString();
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void DebugLog(const String& text) {
    Print(text);
}

void dbg_error(const char* text) {
    std::printf("Cobalt Runtime Error : %s\n\n", text);
    std::fflush(stdout);
    // The debugger hook would take over here; without one attached the process ends.
    std::fputs("{{~~Cobalt Runtime Error~~}}\n", stderr);
    std::fflush(stderr);
    std::_Exit(-1);
}

void Error(const String& message) {
    if (message.IsEmpty()) {
        std::fflush(stdout);
        std::_Exit(0);
    }
    dbg_error(message.ToCString().c_str());
}

void warn(const char* text) {
    std::printf("%s\n", text);
    std::fflush(stdout);
}

void fail(const char* text) {
    warn(text);
    std::exit(-1);
}
