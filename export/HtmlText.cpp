#include "export/HtmlText.h"

#include <cstdio>
#include <cstring>

#include "framework/CodePage.h"
#include "report/ReportList.h"

namespace html {

const char kHomePage[] = "https://www.kestrune.example/morvane/";

void ColorHex(COLORREF color, char (&hex)[7]) {
    std::snprintf(hex, sizeof hex, "%2.2X%2.2X%2.2X", GetRValue(color), GetGValue(color), GetBValue(color));
}

namespace {

// XML 1.0 allows tab, line feed and carriage return among the control characters.
bool IsForbiddenInXml(unsigned char c) { return c < 0x20 && c != '\t' && c != '\n' && c != '\r'; }

}  // namespace

void AppendEscaped(std::string& out, const char* text, bool forXml) {
    for (const char* p = text; *p != '\0';) {
        std::size_t length = codepage::CharacterLength(p);
        const unsigned char c = static_cast<unsigned char>(*p);
        if (length > 1 || c >= 0x80) {
            if (forXml && !codepage::IsDefined(p, length))
                out += '?';
            else if (!forXml && length == 1 && c == 0xB0)
                out += "&deg;";
            else
                out.append(p, length);
            p += length;
            continue;
        }
        switch (c) {
        case '\n': out += forXml ? "\n" : "<br>"; break;
        case '"': out += "&quot;"; break;
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += (forXml && IsForbiddenInXml(c)) ? '?' : static_cast<char>(c); break;
        }
        ++p;
    }
}

void Decorate(const CellStyleRecord& style, const std::string& text, std::string& out) {
    out.clear();
    const bool hasColor = style.FontColor != static_cast<COLORREF>(-1);
    const bool opened = hasColor || style.FontSize > 0;
    if (opened) {
        out += "<font";
        if (style.FontSize > 0) out += " size=\"" + std::to_string(style.FontSize) + "\"";
        if (hasColor) {
            char hex[7];
            ColorHex(style.FontColor, hex);
            out += std::string(" color=\"#") + hex + "\"";
        }
        out += ">";
    }
    if (style.Bold) out += "<b>";
    out += text;
    if (style.Bold) out += "</b>";
    if (opened) out += "</font>";
}

void ElementName(const char* text, char (&name)[256]) {
    std::size_t used = 0;
    for (const char* p = text; *p != '\0';) {
        std::size_t length = codepage::CharacterLength(p);
        if (used + length >= sizeof name) break;
        if (length == 1) {
            char c = *p;
            if (c == ' ' || c == '\\' || c == '/') c = '_';
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            name[used] = c;
        } else {
            std::memcpy(name + used, p, length);
        }
        used += length;
        p += length;
    }
    name[used] = '\0';
}

}  // namespace html
