#include "export/HtmlText.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "export/CellCopy.h"
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

// Writes the escape of the character at p, which is neither a plain byte nor the
// terminator, and returns the byte after it.
template <typename Sink>
const char* EscapeCharacter(Sink& out, const char* p, bool forXml) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (c >= 0x80) {
        const std::size_t length = codepage::CharacterLength(p);
        if (forXml && !codepage::IsDefined(p, length))
            out.Put('?');
        else if (!forXml && length == 1 && c == 0xB0)
            out.Write("&deg;");
        else
            out.Write(p, length);
        return p + length;
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
    return p + 1;
}

template <typename Sink>
void Escape(Sink& out, const char* text, bool forXml) {
    for (const char* p = text; *p != '\0';) {
        // Most of a text needs nothing: such runs are copied as they are.
        p = out.CopyWhile(p, [](unsigned char c) { return IsPlainByte(c); });
        if (*p != '\0') p = EscapeCharacter(out, p, forXml);
    }
}

// Writes into room reserved beforehand.
struct RoomSink {
    char* Out;
    void Put(char c) { *Out++ = c; }
    void Write(const char* text) {
        while (*text != '\0') *Out++ = *text++;
    }
    void Write(const char* data, std::size_t length) {
        for (const char* stop = data + length; data != stop;) *Out++ = *data++;
    }
};

}  // namespace

void AppendEscaped(std::string& out, const char* text, bool forXml) {
    StringSink sink{out};
    Escape(sink, text, forXml);
}

void WriteEscaped(ReportFile& file, const char* text, bool forXml) { Escape(file, text, forXml); }

char* EscapeInto(char* out, const char* text, std::size_t limit, bool forXml) {
    using cells::Word;
    RoomSink sink{out};
    const char* p = text;
    for (;;) {
        if (static_cast<std::size_t>(p - text) > limit) return nullptr;
        if (reinterpret_cast<std::uintptr_t>(p) % sizeof(Word) == 0) {
            // A whole word is stored even when it holds a byte to escape: the bytes from
            // that one on are written again below.
            Word word;
            std::memcpy(&word, p, sizeof word);
            std::memcpy(sink.Out, &word, sizeof word);
            const Word marks = cells::MarkupBytes(word);
            if (marks == 0) {
                sink.Out += sizeof word;
                p += sizeof word;
                continue;
            }
            const std::size_t plain = cells::FirstMarkedByte(marks);
            sink.Out += plain;
            p += plain;
        } else if (IsPlainByte(static_cast<unsigned char>(*p))) {
            *sink.Out++ = *p++;
            continue;
        }
        if (*p == '\0') return sink.Out;
        p = EscapeCharacter(sink, p, forXml);
    }
}

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
