// The hint table of the command list.
#include "app/command_hints.h"

#include <algorithm>
#include <cctype>

namespace app {

namespace {

struct HintRow {
    std::vector<const char*> words;
    const char* hint;
};

const std::vector<HintRow>& HintRows() {
    static const std::vector<HintRow> rows = {
        {{"lijn", "ellips", "rechthoek", "stippellijn", "vector"}, "(x1;y1;x2;y2)"},
        {{"lijn3d", "stippellijn3d"}, "(x1;y1;z1;x2;y2;z2)"},
        {{"tekst", "tekstc", "tekstr"}, "(x1;y1;tekst)"},
        {{"tekst2"}, "(x1;y1;tekst;uitlijnstring)"},
        {{"tekst2+stip"}, "(x1;y1;tekst;uitlijnstring;grootte)"},
        {{"tekst3d2+stip"}, "(x1;y1;z1;tekst;uitlijnstring;grootte)"},
        {{"tekst3d2"}, "(x1;y1;z1;tekst;uitlijnstring)"},
        {{"3d->2d"}, "(x;y;z;var a;var b)"},
        {{"tekenkleur", "vulkleur", "letterkleur"}, "(kleur)"},
        {{"lijnNaar", "gaNaar"}, "(x1;y1)"},
        {{"lijnNaar3d", "gaNaar3d"}, "(x1;y1;z1)"},
        {{"pad", "veelhoek"}, "(x1;y1;x2;y2;....xn;yn)"},
        {{"stip"}, "(x;y;grootte)"},
        {{"vulstijl"}, "(stijl)"},
        {{"kromme"}, "(f(t);g(t);tmin;tmax;dt)"},
        {{"kromme3d"}, "(f(t);g(t);h(t);tmin;tmax;dt)"},
        {{"lettergrootte"}, "(*factor)"},
        {{"gebied"}, "(x1;x2;f(x);x3;x4;g(x);...)"},
        {{"maak"}, "(variabele;waarde)"},
        {{"totdat"}, "(voorwaarde)"},
        {{"lijnelveld"}, "(d.v.;xstep;ystep)"},
        {{"lijnelveld2"}, "(x';y';xstep;ystep)"},
        {{"oplossingskromme"}, "(d.v.;x0;y0;stap;aantal;euler|impeuler|runge)"},
        {{"oplossingskromme2"}, "(x';y';x0;y0;stap;aantal;euler|impeuler)"},
        {{"draaivermenigvuldig", "projectie", "spiegelbeeld", "hoek"}, "zie help"},
        {{"cirkelmppunt", "snijpuntmll", "snijpuntbis", "snijpuntlijnlijn", "snijpuntlijncir",
          "snijpuntcircir"},
         "(m1;m2;p1;p2)"},
        {{"snijpuntlijnvlak"}, "(a;b;c;d;p1;p2;p3;q1;q2;q3;\nvar s1;var s2;var s3)"},
        {{"vglvlak"}, "(a1;a2;a3;b1;b2;b3;c1;c2;c3\nvar a;var b;var c;var d)"},
        {{"vectorvoorstelling"}, "(sv1;sv2;rv1;rv2;tmin;tmax)"},
        {{"afbeelding2"}, "(f(x,y);g(x,y);x0;y0;\naantal;skip;grootte)"},
        {{"rvraaklijn"}, "(f(t);g(t);t;var rv1;var rv2)"},
        {{"set3d"}, "(wijkhoek;verkortingsfactor)"},
        {{"pad3d", "veelhoek3d"}, "(x1;y1;z1;....xn;yn;zn)"},
        {{"rot3d", "spiegel3d"}, "(x|y|z;phi)"},
        {{"setmat3d"}, "(a1;b1;c1;a2;b2;c2;a3;b3;c3)"},
        {{"punten", "punten3d"}, "(a;...)"},
        {{"maakpunt"}, "(variabele;waarde1;waarde2)"},
        {{"maakpunt3d"}, "(variabele;waarde1;waarde2;waarde3)"},
        {{"webgrafiek"}, "(f(x);xstart;iteraties;skip)"},
        {{"lettertype"}, "(lettertype)\nlettertype() om te herstellen"},
        {{"integraal"},
         "(f(x);a;b;tolerantie;trapezium|\nsimpson|romberg|gauss|\nkronrod;var uitkomst)"},
        {{"helling"}, "(f(x);x;dx;var uitkomst)"},
        {{"conflictlijn"}, "(soort;p1;p2;x1;x2;y1;y2)"},
        {{"eigenassen"}, "(xstap;ystap)"},
        {{"eigenassenf"}, "(xstap;ystap;xformat;yformat)"},
        {{"ax+by>c", "ax+by<c", "ax+by=c"}, "(a;b;c)"},
        {{"grafiek"}, "(f(x))"},
        {{"uitvoer", "uitvoerc", "uitvoerr"}, "(x0;y0;waarde)"},
        {{"uitvoer2"}, "(x1;y1;waarde;uitlijnstring)"},
        {{"uitvoer3d2"}, "(x1;y1;z1;waarde;uitlijnstring)"},
        {{"bezier"}, "(x0;y0;x1;y1;x2;y2;x3;y3;...)"},
        {{"cirkelboog", "cirkelsector", "cirkelsegment"}, "(m1;m2;r;starthoek;eindhoek)"},
        {{"hoekmarkering"}, "(a1;a2;b1;b2;c1;c2\n;grootte;aantal)"},
        {{"hoekmarkering3d"}, "(a1;a2;a3;b1;b2;b3;\nc1;c2;c3;grootte;aantal)"},
        {{"lijnstukmarkering"}, "(x1;x2;y1;y2;\ngrootte;aantal)\naantal>4:v,aantal<1:o"},
        {{"lijnstukmarkering3d"}, "(x1;x2;x3;y1;y2;y3;\ngrootte;aantal)\naantal>4:v,aantal<1:o"},
        {{"opslaanbmp", "opslaanjpg", "opslaangif"}, "(bestandsnaam)"},
        {{"bissectrice", "loodlijn"}, "(a1;a2;b1;b2;c1;c2;tmin;tmax)"},
        {{"middelloodlijn"}, "(a1;a2;b1;b2;tmin;tmax)"},
        {{"hoogtelijn"}, "(a1;a2;b1;b2;c1;c2)"},
        {{"hoogtepunt"}, "(a1;a2;b1;b2;c1;c2;\nvar p1;var p2)"},
        {{"diff$", "int$"}, "($var;expressie;variabele)"},
        {{"diffn$"}, "($var;expressie;variabele;n)"},
        {{"subst$"}, "($var;expressie;zoekexp;vervexpr)"},
        {{"vervang$"}, "($var;string;zoekstring;vervstring)"},
        {{"symb$"}, "($var;opdracht voor symbolic_dll)"},
        {{"maak$"}, "($var;string)"},
        {{"samen$"}, "($var;links;rechts)"},
        {{"mid$"}, "($var;string;beginpos;aantal)"},
        {{"pos$"}, "(var a;te vinden string;string)"},
        {{"split$"}, "($res1;$res2;string;afscheider)"},
        {{"tussen$"}, "($var;string;beginteken;eindteken)"},
        {{"+$", "-$", "^$", "*$", "/$"}, "($var;expr;expr)"},
        {{"iteratie"}, "(f(x);startwaarde;aantal;var resultaat)"},
        {{"nulpunt"}, "(f(x);xmin;xmax;start;tolerantie;\nvar resultaat)"},
        {{"stippelkromme"}, "(f(t);g(t);tmin;tmax;dt;dt2;dt3)"},
        {{"stippelkromme3d"}, "(f(t);g(t);h(t);tmin;tmax;\ndt;dt2;dt3)"},
        {{"laadplaatje"}, "(nummer;bestandsnaam)"},
        {{"toonplaatje", "wisplaatje"}, "(nummer;x;y)"},
        {{"toonplaatje2"}, "(nummer;x;y;delay)"},
        {{"vrijpunt"}, "(var;x;y;delta)"},
        {{"set3dcentraal"}, "(theta;phi;oogafstand;\nschermafstand)"},
        {{"oppervlak3d"}, "(x(u,v);y(u,v);z(u,v);\numin;umax;vmin;vmax;du;dv)"},
        {{"stip3d"}, "(x;y;z;dikte)"},
        {{"met", "for", "film"}, "(variabele;start;eind;stap)"},
        {{"voorelke"}, "(variabele;\nwaarde1,waarde2,...waarden)"},
        {{"keus$"}, "($var;keus1,keus2,...keusn)"},
        {{"invoerdialoog$"}, "($var;caption;prompt;default)"},
        {{"$equivalent$"}, "($a;$b;variabelenaam;\nlinkergrens;rechtergrens)"},
        {{"$gelijk$"}, "(tekst1;tekst2)"},
        {{"impliciet"}, "(f(x,y))"},
        {{"impliciet2"}, "(f(x,y);minx;maxx;\nminy;maxy;aantal_pixels)"},
        {{"impliciet3"}, "(f(x,y);x0;y0;step;maxstep)"},
        {{"getalnaar$"}, "($var;expressie)"},
        {{"pixel"}, "(var;x;y)"},
        {{"stats"}, "(lijst1[,lijst2];start;eind;\nvar gemiddelde;var sd)"},
        {{"linreg"}, "(lijst1,lijst2;\nstart;eind;$vergelijking;var corrcoeff)"},
        {{"regressie"},
         "(lijst1,lijst2;start;eind;$vergelijking;\nvar corrcoeff;linreg|expreg|pwrreg|lnreg)"},
        {{"polyreg"}, "(lijst1,lijst2;\nstart;eind;graad;doellijst)"},
        {{"lijndikte"}, "(lijndikte)"},
        {{"lengte$"}, "(var l;string)"},
        {{"puntinveelhoek?"}, "(p1;p2;lijst1;lijst2;\naantal_punten;var resultaat)"},
        {{"schrijf", "schrijfregel"}, "(t(ekst)|u(itvoer)|c(har);wat)"},
        {{"letterstijl"}, "(vet|cursief|onderstreept)\nterugzetten met letterstijl()"},
        {{"gedraaideellips"}, "(x1;y1;x2;y2;alpha)"},
        {{"getalnaarromeins$"}, "($var,getal)"},
        {{"romeinsnaargetal$"}, "($romeins,var g)"},
        {{"gedraaidetekst"}, "(x;y;tekst;hoek)"},
        {{"_", "eindproc", "endproc", "herhaal", "local", "proc", "snapshot", "toonsnapshot",
          "volgende"},
         ""},
    };
    return rows;
}

// Words of the language that the list leaves out.
constexpr const char* kControlWords[] = {"als",      "anders",     "eindals", "inc",     "eind",
                                         "stop",     "next",       "pauze",   "defproc", "koppel$",
                                         "rtftekst", "rtfuitvoer", "rtftab",  "rtfregel"};

constexpr const char* kSettingKeys[] = {"xmin",
                                        "xmax",
                                        "ymin",
                                        "ymax",
                                        "f",
                                        "g",
                                        "h",
                                        "i",
                                        "xlabel",
                                        "ylabel",
                                        "asopties",
                                        "assen",
                                        "roosterkleur",
                                        "askleur",
                                        "asdikte",
                                        "reset",
                                        "checking",
                                        "hint"};

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

const std::vector<CommandHint>& CommandList() {
    static const std::vector<CommandHint> list = [] {
        std::vector<CommandHint> out;
        for (const auto& row : HintRows()) {
            for (const char* word : row.words) out.push_back({word, row.hint});
        }
        std::sort(out.begin(), out.end(),
                  [](const CommandHint& a, const CommandHint& b) { return a.word < b.word; });
        return out;
    }();
    return list;
}

std::string HintOf(std::string_view word) {
    for (const auto& entry : CommandList()) {
        if (entry.word == word) return entry.hint;
    }
    return {};
}

bool IsCommandWord(std::string_view word) {
    for (const auto& entry : CommandList()) {
        if (entry.word == word) return true;
    }
    return std::find(std::begin(kControlWords), std::end(kControlWords), word) !=
           std::end(kControlWords);
}

bool IsSettingKey(std::string_view key) {
    const std::string lower = Lower(Trim(key));
    return std::find(std::begin(kSettingKeys), std::end(kSettingKeys), lower) !=
           std::end(kSettingKeys);
}

std::string CommandWordOf(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() == '%') return {};
    const size_t open = line.find('(');
    const std::string_view head = line.substr(0, open);
    const size_t assign = line.find(":=");
    if (assign != std::string_view::npos && (open == std::string_view::npos || assign < open)) {
        return {};
    }
    // "ax+by=c(...)" is a command; "xmin=-4" a setting line.
    if (head.find('=') != std::string_view::npos && open == std::string_view::npos) return {};
    std::string_view word = Trim(head);
    if (word.rfind("proc ", 0) == 0 || word.rfind("defproc ", 0) == 0) {
        word = word.substr(0, word.find(' '));
    }
    return std::string(word);
}

}  // namespace app
