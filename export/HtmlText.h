// Text transformations of the HTML and XML reports.
#pragma once

#include <windows.h>

#include <string>

struct CellStyleRecord;
class ReportFile;

namespace html {

// The maker's home page, named in the credit line of every HTML report.
extern const char kHomePage[];

// Six upper-case hexadecimal digits, red first.
void ColorHex(COLORREF color, char (&hex)[7]);

// Appends the escaped text: line feeds as <br> (HTML only), quote, ampersand, less-than,
// greater-than as entities, and the single-byte degree sign as &deg; (HTML only). For
// XML, characters that XML 1.0 forbids or that the code page does not define become "?".
void AppendEscaped(std::string& out, const char* text, bool forXml);

// Whether the style leaves a text as it is.
bool IsPlain(const CellStyleRecord& style);

// The same escaping for XML, written straight into the report file.
void WriteEscapedXml(ReportFile& file, const char* text);

// The text wrapped in the font and bold markup that the style asks for.
void Decorate(const CellStyleRecord& style, const std::string& text, std::string& out);

// An XML element name from a caption: blanks, backslashes and slashes become "_" and ASCII
// capitals lower case, never inside a double-byte character; at most 255 bytes.
void ElementName(const char* text, char (&name)[256]);

}  // namespace html
