// The flip-book page template and its placeholders.
#include "engine/flipbook_page.h"

#include <utility>

namespace engine {

namespace {

// Every occurrence of `from` in `text`, left to right; replaced text is not searched again.
std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to) {
    std::string result;
    size_t at = 0;
    for (size_t found; (found = text.find(from, at)) != std::string::npos; at = found + from.size())
        result += text.substr(at, found - at) + to;
    return result + text.substr(at);
}

}  // namespace

const std::vector<std::string>& FlipbookTemplate() {
    static const std::vector<std::string> lines = {
        "<HTML>",
        "<!--  Gemaakt met flipzet.exe. Voor informatie zie: https://zorvat.example.org/ -->",
        "<HEAD>",
        "<TITLE>Animatie</TITLE>",
        "",
        "<style type=\"text/css\">",
        "body {background:white;font-family: Arial,Helvetica,sans-serif;font-size:9pt}",
        "H3 {color:olive;font-size:16pt}",
        "td {font-family: Arial,Helvetica,sans-serif;font-size:11pt;background:white}",
        "</style>",
        "",
        "<script>",
        "var file='$plaatjes$'",
        "var extension='$ext$'",
        "var minnr=$minnr$",
        "var maxnr=$maxnr$",
        "var pauze=$pauze$",
        "</script>",
        "<script src=film.js>",
        "</script>",
        "",
        "</HEAD>",
        "<BODY onLoad=\"klaar()\">",
        "<table>",
        "<tr>",
        "$regel1$",
        "</tr>",
        "<tr>",
        "<td align=center valign=bottom>",
        "<form id=f>",
        "<input type=button value=\" << \" onClick=\"achteruit(200)\">",
        "<input type=button value=\" < \" onClick=\"achteruit(1)\">",
        "<input type=button value=\"Start\" onClick=\"startvertoning()\">",
        "<input type=button value=\"Stop\" onClick=\"stopvertoning()\">",
        "<input type=button value=\" > \" onClick=\"vooruit(1)\">",
        "<input type=button value=\" >> \" onClick=\"vooruit(200)\">",
        "<BR>",
        "<input type=checkbox id=\"keus\" checked=\"yes\" onClick=selec(this)>Heen en weer",
        "</form>",
        "</td>",
        " </tr>",
        "</table>",
        "<script>",
        "preload()",
        "</script>",
        "</BODY>",
        "</HTML>",
    };
    return lines;
}

std::string MakeFlipbookPage(const FlipbookSettings& settings) {
    const std::string textCell = "<td valign=top>$tekst$</td>";
    const std::string pictureCell =
        "<td rowspan=2><img src=\"$start$\" name=\"film\" width=$breedte$ height=$hoogte$></td>";
    const std::string row =
        settings.textLeft ? textCell + "\r" + pictureCell : pictureCell + "\r" + textCell;
    std::string page;
    for (const std::string& line : FlipbookTemplate()) {
        if (!page.empty()) page += "\r\n";
        page += line;
    }
    const std::pair<const char*, const std::string*> steps[] = {
        {"$regel1$", &row},
        {"$plaatjes$", &settings.pictures},
        {"$ext$", &settings.extension},
        {"$minnr$", &settings.lowest},
        {"$maxnr$", &settings.highest},
        {"$start$", &settings.start},
        {"$pauze$", &settings.pause},
        {"$hoogte$", &settings.height},
        {"$breedte$", &settings.width},
        {"$tekst$", &settings.text},
    };
    for (const auto& [placeholder, value] : steps) page = ReplaceAll(page, placeholder, *value);
    return page;
}

std::vector<std::string> FlipbookPageLines(const std::string& page) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < page.size(); ++i) {
        const char c = page[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < page.size() && page[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::string FlipbookFileText(const std::string& page) {
    std::string text;
    for (const std::string& line : FlipbookPageLines(page)) text += line + "\r\n";
    return text;
}

}  // namespace engine
