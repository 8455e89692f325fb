#include "host/runtime.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

String::String(const char* text) {
    if (!text) return;
    for (const char* p = text; *p; ++p) units_.push_back(static_cast<unsigned char>(*p));
}

String::String(const std::string& text) {
    units_.reserve(text.size());
    for (char c : text) units_.push_back(static_cast<unsigned char>(c));
}

String::String(const char16_t* units, int count) : units_(units, static_cast<size_t>(count > 0 ? count : 0)) {}

String::String(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%i", value);
    *this = String(static_cast<const char*>(buffer));
}

String::String(float value) : String(static_cast<double>(value)) {}

String::String(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17lg", value);
    std::string text(buffer);
    if (text.find('.') == std::string::npos && text.find('e') == std::string::npos) text += ".0";
    *this = String(text);
}

String String::operator+(const String& other) const {
    String result(*this);
    result.units_ += other.units_;
    return result;
}

String& String::operator+=(const String& other) {
    units_ += other.units_;
    return *this;
}

String operator+(const char* left, const String& right) { return String(left) + right; }

int String::Find(const String& sub, int start) const {
    if (start < 0) start = 0;
    if (start > Length()) return -1;
    size_t at = units_.find(sub.units_, static_cast<size_t>(start));
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int String::FindLast(const String& sub) const {
    size_t at = units_.rfind(sub.units_);
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int String::FindLast(const String& sub, int start) const {
    if (start < 0) return -1;
    size_t at = units_.rfind(sub.units_, static_cast<size_t>(start));
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

bool String::StartsWith(const String& prefix) const {
    return prefix.units_.size() <= units_.size() && units_.compare(0, prefix.units_.size(), prefix.units_) == 0;
}

bool String::EndsWith(const String& suffix) const {
    return suffix.units_.size() <= units_.size() &&
           units_.compare(units_.size() - suffix.units_.size(), suffix.units_.size(), suffix.units_) == 0;
}

static int ClampIndex(int index, int length) {
    if (index < 0) index += length;
    return std::clamp(index, 0, length);
}

String String::Slice(int from) const { return Slice(from, Length()); }

String String::Slice(int from, int to) const {
    int length = Length();
    from = ClampIndex(from, length);
    to = ClampIndex(to, length);
    if (to <= from) return String();
    return String(units_.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
}

std::vector<String> String::Split(const String& separator) const {
    std::vector<String> pieces;
    if (separator.IsEmpty()) {
        for (char16_t unit : units_) pieces.push_back(String(std::u16string(1, unit)));
        return pieces;
    }
    size_t start = 0;
    for (;;) {
        size_t at = units_.find(separator.units_, start);
        if (at == std::u16string::npos) break;
        pieces.push_back(String(units_.substr(start, at - start)));
        start = at + separator.units_.size();
    }
    pieces.push_back(String(units_.substr(start)));
    return pieces;
}

String String::Replace(const String& find, const String& with) const {
    if (find.IsEmpty()) return *this;
    std::u16string result;
    size_t start = 0;
    for (;;) {
        size_t at = units_.find(find.units_, start);
        if (at == std::u16string::npos) break;
        result.append(units_, start, at - start);
        result += with.units_;
        start = at + find.units_.size();
    }
    result.append(units_, start, std::u16string::npos);
    return String(std::move(result));
}

String String::ToLower() const {
    std::u16string result(units_);
    for (char16_t& unit : result)
        if (unit >= 'A' && unit <= 'Z') unit = static_cast<char16_t>(unit + 32);
    return String(std::move(result));
}

String String::ToUpper() const {
    std::u16string result(units_);
    for (char16_t& unit : result)
        if (unit >= 'a' && unit <= 'z') unit = static_cast<char16_t>(unit - 32);
    return String(std::move(result));
}

std::string String::ToCString() const {
    std::string result;
    result.reserve(units_.size());
    for (char16_t unit : units_) result.push_back(static_cast<char>(unit & 0xFF));
    return result;
}

std::wstring String::ToWString() const { return std::wstring(units_.begin(), units_.end()); }

void Print(const String& text) {
    std::string bytes = text.ToCString();
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void DebugLog(const String& text) { Print(text); }

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
