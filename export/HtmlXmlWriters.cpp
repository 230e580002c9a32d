// The HTML (one row per record, one table per record) and XML writers.
#include <cmath>

#include "export/HtmlText.h"
#include "export/ReportFile.h"
#include "framework/CodePage.h"
#include "framework/Language.h"
#include "report/ReportList.h"
#include "resources/resource.h"

namespace {

const char kLineEnd[] = "\r\n";
const char kProductName[] = "Morvane";
const char kNoBreakSpace[] = "&nbsp;";
const COLORREF kWhite[] = {RGB(255, 255, 255)};

// In code page 1252 the fixed declaration is true to the bytes; other code pages declare
// their own encoding, or a reader would take the bytes for Latin-1 and reject the names.
void WriteXmlDeclaration(ReportFile& file) {
    file.Write("<?xml version=\"1.0\"  encoding=\"");
    file.Write(GetACP() == 1252 ? "ISO-8859-1" : codepage::EncodingName());
    file.Write("\" ?>\r\n");
}

void WriteElementTag(ReportFile& file, const char* open, const char* text, const char* close) {
    char name[256];
    html::ElementName(text, name);
    file.Write(open);
    file.Write(name);
    file.Write(close);
}

// before, the colour's hex digits and after, unless the colour is "none".
void AppendColor(std::string& out, const char* before, COLORREF color, const char* after) {
    if (color == kNoColor) return;
    char hex[7];
    html::ColorHex(color, hex);
    out += before;
    out += hex;
    out += after;
}

// A column caption, in the header text colour when there is one; never escaped.
void AppendCaption(std::string& out, const char* caption, COLORREF textColor) {
    AppendColor(out, "<font color=\"", textColor, "\">");
    out += caption;
    if (textColor != kNoColor) out += "</font>";
}

int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

const COLORREF* ReportList::ColorTable(int) const { return kWhite; }
int ReportList::ColorTableSize(int) const { return 1; }
void ReportList::AdjustCellText(std::string&, const RowRecord&, int) {}

void ReportList::CellStyle(int format, int position, const RowRecord&, CellStyleRecord& style) const {
    style.Background = GradientColor(format, position);
    style.FontColor = kNoColor;
    style.FontSize = -1;
}

COLORREF ReportList::GradientColor(int format, int position) const {
    // The colours depend only on the format and the position: worked out once per format.
    if (gradientFormat_ != format || static_cast<int>(gradient_.size()) != columnCount_) {
        gradient_.resize(columnCount_);
        for (int p = 0; p < columnCount_; ++p) gradient_[p] = ComputeGradientColor(format, p);
        gradientFormat_ = format;
    }
    return position >= 0 && position < columnCount_ ? gradient_[position] : ComputeGradientColor(format, position);
}

COLORREF ReportList::ComputeGradientColor(int format, int position) const {
    const COLORREF* stops = ColorTable(format);
    const int count = ColorTableSize(format);
    if (stops == nullptr || count <= 0) return RGB(255, 255, 255);
    if (count == 1) return stops[0];
    const double t = columnCount_ > 1 ? static_cast<double>(position) / (columnCount_ - 1) : 0.0;
    const double x = t * (count - 1);
    int segment = static_cast<int>(std::floor(x));
    if (segment > count - 2) segment = count - 2;
    if (segment < 0) segment = 0;
    const double f = x - segment;
    const COLORREF a = stops[segment];
    const COLORREF b = stops[segment + 1];
    auto mix = [f](int from, int to) { return RoundHalfEven(from + (to - from) * f); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

void ReportList::WriteHeader(ReportFile& file, int format) {
    if (format == kFormatHtmlRows || format == kFormatHtmlTables) WriteHtmlHeader(file, format);
    if (format == kFormatXml) WriteXmlHeader(file);
}

void ReportList::WriteFooter(ReportFile& file, int format) {
    if (format == kFormatHtmlRows || format == kFormatHtmlTables) WriteHtmlFooter(file, format);
    if (format == kFormatXml) WriteXmlFooter(file);
}

void ReportList::WriteHtmlDocumentHeader(ReportFile& file, int format) {
    const char* title = ReportTitle();
    file.Write("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">\r\n");
    file.Write("<html><head>");
    if (lang::Charset()[0] != '\0') {
        file.Write("<meta http-equiv='content-type' content='text/html;charset=");
        file.Write(lang::Charset());
        file.Write("'>");
    }
    file.Write("<title>");
    file.Write(title);
    file.Write("</title></head>\r\n<body>\r\n");
    if (lang::RightToLeft()) file.Write("<table dir=\"rtl\"><tr><td>\r\n");
    file.Write(" <h3>");
    file.Write(title);
    file.Write("</h3>\r\n");

    file.Write("<br><h4>");
    file.Write(lang::String(IDS_CREATED_BY));
    file.Write(" <a href=\"");
    file.Write(html::kHomePage);
    file.Write("\" target=\"newwin\">");
    file.Write(kProductName);
    file.Write("</a></h4><p>");

    if (format != kFormatHtmlRows) return;
    std::string header = "<table border=\"1\" cellpadding=\"5\"><tr";
    AppendColor(header, " bgcolor=\"", HeaderCellColor(), "\"");
    header += ">\r\n";
    for (int p = 0; p < visibleCount_; ++p) {
        const int column = visibleOrder_[p];
        header += "<th";
        if (attributes_[column].HtmlWidth[0] != '\0') {
            header += " width=\"";
            header += attributes_[column].HtmlWidth;
            header += "\"";
        }
        header += ">";
        AppendCaption(header, descriptors_[column].Caption, HeaderTextColor());
        header += kLineEnd;
    }
    file.Write(header.data(), header.size());
}

void ReportList::WriteHtmlDocumentFooter(ReportFile& file, int format) {
    if (format == kFormatHtmlRows) file.Write("</table>\r\n");
    if (lang::RightToLeft()) file.Write("</table>");
    file.Write("\r\n</body></html>");
}

const std::string& ReportList::HtmlCellText(int format, int position, const RowRecord& row, COLORREF* background) {
    const int column = visibleOrder_[position];
    escaped_.clear();
    html::AppendEscaped(escaped_, CellText(row, column, 0), false);
    AdjustCellText(escaped_, row, column);
    if (escaped_.empty() || escaped_[0] == ' ') escaped_ += kNoBreakSpace;
    CellStyleRecord style;
    CellStyle(format, position, row, style);
    *background = style.Background;
    if (html::IsPlain(style)) return escaped_;
    html::Decorate(style, escaped_, decorated_);
    return decorated_;
}

// The opening of a value cell: "<td", its background when it has one (a cell without
// one still opens), and its no-wrap flag. One-table-per-record lines begin with the
// caption cell; XML elements are named after the column.
void ReportList::BuildMarkupPieces(int format, int position, CellPieces& pieces) {
    const int column = visibleOrder_[position];
    if (format == kFormatXml) {
        const std::string& name = ElementNameOf(column);
        pieces.Open = "<" + name + ">";
        pieces.Close = "</" + name + ">\r\n";
        return;
    }
    if (format == kFormatHtmlTables) {
        pieces.Open = "<tr><td";
        AppendColor(pieces.Open, " bgcolor=\"", HeaderCellColor(), "\"");
        pieces.Open += " nowrap><b>";
        AppendCaption(pieces.Open, descriptors_[column].Caption, HeaderTextColor());
        pieces.Open += "</b>";
        pieces.Close = kLineEnd;
    }
    pieces.Open += "<td";
    AppendColor(pieces.Open, " bgcolor=#", pieces.Background, "");
    pieces.Open += attributes_[column].NoWrap != 0 ? " nowrap>" : ">";
}

bool ReportList::WriteHtmlRow(ReportFile& file, const RowRecord& row) {
    file.Write("<tr>");
    for (int p = 0; p < visibleCount_; ++p) {
        COLORREF background = 0;
        const std::string& cell = HtmlCellText(kFormatHtmlRows, p, row, &background);
        const CellPieces& pieces = Pieces(kFormatHtmlRows, p, background);
        file.Write(pieces.Open.data(), pieces.Open.size());
        file.Write(cell.data(), cell.size());
    }
    return file.Write(kLineEnd);
}

bool ReportList::WriteHtmlRecord(ReportFile& file, const RowRecord& row) {
    file.Write("<table border=\"1\" cellpadding=\"5\">\r\n");
    for (int p = 0; p < visibleCount_; ++p) {
        COLORREF background = 0;
        const std::string& cell = HtmlCellText(kFormatHtmlTables, p, row, &background);
        const CellPieces& pieces = Pieces(kFormatHtmlTables, p, background);
        file.Write(pieces.Open.data(), pieces.Open.size());
        file.Write(cell.data(), cell.size());
        file.Write(pieces.Close.data(), pieces.Close.size());
    }
    return file.Write("</table><p>\r\n");
}

const std::string& ReportList::ElementNameOf(int column) {
    // Names come from the built-in texts, which never change after the list is attached.
    if (elementNames_.size() != static_cast<std::size_t>(columnCount_)) {
        elementNames_.assign(columnCount_, std::string());
        for (int c = 0; c < columnCount_; ++c) {
            char name[256];
            html::ElementName(attributes_[c].Name, name);
            elementNames_[c] = name;
        }
    }
    return elementNames_[column];
}

void ReportList::WriteXmlHeader(ReportFile& file) {
    WriteXmlDeclaration(file);
    WriteElementTag(file, "<", ReportTagName(), ">\r\n");
}

void ReportList::WriteXmlFooter(ReportFile& file) { WriteElementTag(file, "</", ReportTagName(), ">\r\n"); }

bool ReportList::WriteXmlRow(ReportFile& file, const RowRecord& row) {
    file.Write("<item>\r\n");
    for (int p = 0; p < visibleCount_; ++p) {
        const CellPieces& pieces = Pieces(kFormatXml, p, kNoColor);
        file.Write(pieces.Open.data(), pieces.Open.size());
        html::WriteEscapedXml(file, CellText(row, visibleOrder_[p], 0));
        file.Write(pieces.Close.data(), pieces.Close.size());
    }
    return file.Write("</item>\r\n");
}
