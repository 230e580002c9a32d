#include "export/HtmlText.h"

#include <cstdio>
#include <cstring>

#include "export/ReportFile.h"
#include "framework/CodePage.h"
#include "report/ReportList.h"

namespace html {

const char kHomePage[] = "https://www.kestrune.example/morvane/";

void ColorHex(COLORREF color, char (&hex)[7]) {
    static const char kDigits[] = "0123456789ABCDEF";
    const unsigned char channels[3] = {GetRValue(color), GetGValue(color), GetBValue(color)};
    for (int i = 0; i < 3; ++i) {
        hex[i * 2] = kDigits[channels[i] >> 4];
        hex[i * 2 + 1] = kDigits[channels[i] & 0x0F];
    }
    hex[6] = '\0';
}

bool IsPlain(const CellStyleRecord& style) {
    return style.FontColor == kNoColor && style.FontSize <= 0 && !style.Bold;
}

namespace {

// XML 1.0 allows tab, line feed and carriage return among the control characters.
bool IsForbiddenInXml(unsigned char c) { return c < 0x20 && c != '\t' && c != '\n' && c != '\r'; }

}  // namespace

namespace {

// Appends to a string.
struct StringSink {
    std::string& Out;
    void Put(char c) { Out += c; }
    void Write(const char* text) { Out += text; }
    void Write(const char* data, std::size_t length) { Out.append(data, length); }
    template <typename Keep>
    const char* CopyWhile(const char* text, Keep keep) {
        const char* stop = text;
        while (keep(static_cast<unsigned char>(*stop))) ++stop;
        Out.append(text, static_cast<std::size_t>(stop - text));
        return stop;
    }
};

// Printable ASCII but the four markup characters: both escapes copy these as they are.
struct PlainBytes {
    bool Plain[256] = {};
    constexpr PlainBytes() {
        for (int c = 0x20; c < 0x80; ++c) Plain[c] = c != '"' && c != '&' && c != '<' && c != '>';
    }
};
constexpr PlainBytes kPlainBytes;

bool IsPlainByte(unsigned char c) { return kPlainBytes.Plain[c]; }

template <typename Sink>
void Escape(Sink& out, const char* text, bool forXml) {
    for (const char* p = text; *p != '\0';) {
        // Most of a text needs nothing: such runs are copied as they are.
        const char* run = p;
        p = out.CopyWhile(p, [](unsigned char c) { return IsPlainByte(c); });
        if (p != run) continue;
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c >= 0x80) {
            const std::size_t length = codepage::CharacterLength(p);
            if (forXml && !codepage::IsDefined(p, length))
                out.Put('?');
            else if (!forXml && length == 1 && c == 0xB0)
                out.Write("&deg;");
            else
                out.Write(p, length);
            p += length;
            continue;
        }
        switch (c) {
        case '\n':
            if (forXml)
                out.Put('\n');
            else
                out.Write("<br>");
            break;
        case '"': out.Write("&quot;"); break;
        case '&': out.Write("&amp;"); break;
        case '<': out.Write("&lt;"); break;
        case '>': out.Write("&gt;"); break;
        default: out.Put((forXml && IsForbiddenInXml(c)) ? '?' : static_cast<char>(c)); break;
        }
        ++p;
    }
}

}  // namespace

void AppendEscaped(std::string& out, const char* text, bool forXml) {
    StringSink sink{out};
    Escape(sink, text, forXml);
}

void WriteEscapedXml(ReportFile& file, const char* text) { Escape(file, text, true); }

void Decorate(const CellStyleRecord& style, const std::string& text, std::string& out) {
    out.clear();
    const bool hasColor = style.FontColor != kNoColor;
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
