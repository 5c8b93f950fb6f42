// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// What the program hands the page as JSON, written as it goes, commas and all.
namespace runtime::web::json {

class Writer {
public:
    void beginArray() { open('['); }
    void endArray() { close(']'); }
    void beginObject() { open('{'); }
    void endObject() { close('}'); }

    void key(std::string_view name)
    {
        value(name);
        text_ += ':';
        afterKey_ = true;
    }
    void value(std::string_view s)
    {
        comma();
        text_ += '"';
        for (const char c : s) {
            if (c == '"' || c == '\\') {
                text_ += '\\';
                text_ += c;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                text_ += escaped;
            } else {
                text_ += c; // UTF-8 as it is
            }
        }
        text_ += '"';
    }
    void value(const char* s) { value(std::string_view(s)); }
    void value(bool b)
    {
        comma();
        text_ += b ? "true" : "false";
    }
    void value(int n)
    {
        comma();
        text_ += std::to_string(n);
    }
    template <typename T> void field(std::string_view name, const T& v)
    {
        key(name);
        value(v);
    }

    const std::string& text() const { return text_; }

private:
    void comma()
    {
        if (!afterKey_ && !first_)
            text_ += ',';
        afterKey_ = false;
        first_ = false;
    }
    void open(char c)
    {
        comma();
        text_ += c;
        first_ = true;
    }
    void close(char c)
    {
        text_ += c;
        first_ = false;
    }

    std::string text_;
    bool first_ = true;
    bool afterKey_ = false;
};

} // namespace runtime::web::json
