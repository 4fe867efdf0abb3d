// The flip-book web page: a fixed HTML template filled with the settings of the
// "Flipzet" window. The page plays numbered pictures with the script film.js.
#pragma once

#include <string>
#include <vector>

namespace engine {

// The window's settings, plain texts used as they are.
struct FlipbookSettings {
    std::string pictures = "../images/tekening";  // path and name stem of the pictures
    std::string extension = ".gif";
    std::string lowest = "10";
    std::string highest = "39";
    std::string start = "../images/start.gif";  // shown before the animation starts
    std::string pause = "50";                   // milliseconds between pictures
    std::string height = "360";
    std::string width = "360";
    // The page text (HTML), each line ended by CR LF as the text box gives it.
    std::string text =
        "<H3 align=center>De grafiek van y=sin(ax)</H3>\r\n"
        "Hiernaast is de grafiek getekend van de functie y=sin(ax).<BR>\r\n"
        "Door op de knop : Start te klikken wordt de waarde van a veranderd.<BR>\r\n"
        "Welk effect heeft het veranderen van a op de grafiek?\r\n";
    bool textLeft = true;  // "tekst links plaatje rechts"
};

// The 47 lines of the page template.
const std::vector<std::string>& FlipbookTemplate();

// "Maak Animatie": the template, its lines joined by CR LF, with the placeholders
// replaced in a fixed order, each at every place: $regel1$ (the first table row, whose
// two cells are separated by a lone carriage return) first, so that the placeholders of
// the row are filled too, then $plaatjes$, $ext$, $minnr$, $maxnr$, $start$, $pauze$,
// $hoogte$, $breedte$ and $tekst$. A setting that holds a later placeholder's name is
// itself filled in by that later step.
std::string MakeFlipbookPage(const FlipbookSettings& settings);

// The page as the text box holds it: lines split at CR LF, a lone CR or a lone LF.
std::vector<std::string> FlipbookPageLines(const std::string& page);

// The file text: every line followed by CR LF. An empty page gives an empty file.
std::string FlipbookFileText(const std::string& page);

}  // namespace engine
