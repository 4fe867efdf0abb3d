// Drawing: the figures of the program language, each drawn three times: on the
// plot surface, as eepic text and as PDF content (the last two only while a save
// re-runs the program with that output switched on).
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "export/eepic_writer.h"
#include "export/pdf.h"
#include "export/tikz_writer.h"
#include "plot/plot_surface.h"
#include "plot/view3d.h"

namespace plot {

// The world rectangle at the start of a run; curve points are accepted within
// x1 - |x1| .. x2 + |x2| and y1 - |y1| .. y2 + |y2|.
struct WorldBox {
    Real x1 = -1, x2 = 1, y1 = -1, y2 = 1;
    static WorldBox Of(const TPlotSurface& surface) {
        return {surface.D2WorldX1(), surface.D2WorldX1() + surface.D2WorldXW(), surface.D2WorldY1(),
                surface.D2WorldY1() + surface.D2WorldYW()};
    }
};

// Moves (x, y) so that `text` drawn at the result in the surface's current font has
// the alignment `alignment` ("lt", "cc", "rb", ...) with respect to the point.
void AlignText(const TPlotSurface& surface, const std::string& text, const std::string& alignment,
               Real& x, Real& y);

// The surface font as the PDF writer takes it.
exporter::PdfFont PdfFontOf(const Font& font);

// The drawing state of one run; reset at the start of every run.
struct DrawingState {
    Colour penColour = kBlack;
    int lineWidth = 1;
    Colour fillColour = kWhite;
    int fillStyle = 1;  // 0 solid, 1 none, 2..7 hatches (see BrushStyleOf)
    int fontHalfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::string fontFace = "Arial";
};

// Fill style number 0..7 of vulstijl to a brush style.
BrushStyle BrushStyleOf(int fillStyle);

// One triple of gebied: the graph of f from a to b.
struct AreaPiece {
    Real from = 0;
    Real to = 0;
    std::function<bool(Real x, Real& y)> function;
};

class Drawing {
public:
    // A function of the program: false where it has no value (a failed evaluation).
    using Function = std::function<bool(Real x, Real& y)>;
    using Function2 = std::function<bool(Real x, Real y, Real& value)>;
    using Curve = std::function<bool(Real t, Real& x, Real& y)>;

    explicit Drawing(TPlotSurface& surface);

    TPlotSurface& Surface() { return surface_; }
    exporter::EepicWriter& Eepic() { return eepic_; }
    exporter::TPdf& Pdf() { return pdf_; }
    // Output switches: on only during an export re-run.
    bool EepicOn() const { return eepicOn_; }
    bool PdfOn() const { return pdfOn_; }
    void SetEepicOn(bool on) { eepicOn_ = on; }
    void SetPdfOn(bool on) { pdfOn_ = on; }
    exporter::TikzWriter& Tikz() { return tikz_; }
    bool TikzOn() const { return tikzOn_; }
    void SetTikzOn(bool on) { tikzOn_ = on; }
    // Hands `write` each picture text that is on (eepic, TikZ), so both get the same
    // figure calls; TikZ first learns the colours of this moment.
    template <class Write>
    void ForEachText(const Write& write) {
        if (eepicOn_) write(eepic_);
        if (exporter::TikzWriter* tikz = TikzOut()) write(*tikz);
    }

    // Start of a run: default state, the surface's pen, brush and font saved as the
    // objects to come back to after filled figures and texts, the acceptance box
    // taken from the world, the curve buffers emptied. `fontColour` is the window
    // font's colour.
    void BeginRun(Colour fontColour);
    const DrawingState& State() const { return state_; }
    // The 3D view of the run, back to its start at BeginRun.
    View3d& View() { return view_; }
    const WorldBox& Box() const { return box_; }

    // --- State commands ---
    void SetPenColour(Colour colour);   // tekenkleur
    void SetLineWidth(int width);       // lijndikte: eepic line only when it changes
    void SetFillColour(Colour colour);  // vulkleur
    void SetFillStyle(int style);       // vulstijl: other values leave it unchanged
    void SetFontSize(Real points);      // lettergrootte: stored as round(2 * points) half-points
    void SetFontColour(Colour colour);  // letterkleur: at once, also in the saved objects
    // letterstijl: "vet", "cursief" or "onderstreept" add a style; "" clears them.
    void AddFontStyle(const std::string& style);
    void SetFontFace(const std::string& face);  // lettertype: "" gives the starting face

    // --- Lines and figures (world coordinates) ---
    void Line(Real x1, Real y1, Real x2, Real y2);           // lijn
    void DottedLine(Real x1, Real y1, Real x2, Real y2);     // stippellijn
    void MoveTo(Real x, Real y);                             // gaNaar
    void LineTo(Real x, Real y);                             // lijnNaar
    void Rectangle(Real x1, Real y1, Real x2, Real y2);      // rechthoek
    void Ellipse(Real x1, Real y1, Real x2, Real y2);        // ellips
    void CircleThrough(Real m1, Real m2, Real p1, Real p2);  // cirkelmppunt
    enum class ArcKind { Arc, Sector, Segment };  // cirkelboog, cirkelsector, cirkelsegment
    void CircleArc(ArcKind kind, Real m1, Real m2, Real r, Real startAngle, Real endAngle);
    void RotatedEllipse(Real x1, Real y1, Real x2, Real y2, Real alpha);  // gedraaideellips
    void Vector(Real x, Real y, Real a, Real b);                          // vector
    void Dot(Real x, Real y, Real size);                                  // stip
    void Polygon(const std::vector<FloatPoint>& points);                  // veelhoek
    void Path(const std::vector<FloatPoint>& points);                     // pad
    void Bezier(const std::vector<FloatPoint>& points);                   // bezier
    enum class HalfPlaneKind { Greater, Less, Equal };  // ax+by>c, ax+by<c, ax+by=c
    void HalfPlane(HalfPlaneKind kind, Real a, Real b, Real c);

    // --- Curves ---
    void CurveT(const Curve& curve, Real tmin, Real tmax, Real dt);  // kromme
    void DashedCurve(const Curve& curve, Real tmin, Real tmax, Real dt, Real dash,
                     Real gap);  // stippelkromme
    // The samples from, from + step, ... while <= to, in pieces as kromme makes them
    // (the conflict lines).
    void SweepCurve(const Curve& curve, Real from, Real to, Real step);
    void Graph(const Function& f);                    // grafiek, and the graphs of F..I
    void Area(const std::vector<AreaPiece>& pieces);  // gebied
    void WebGraph(const Function& f, Real xstart, Real iterations, Real skip);  // webgrafiek
    // impliciet2: the curve f = 0 in the window, cells of `pixels` pixels.
    void Implicit(const Function2& f, Real minx, Real maxx, Real miny, Real maxy, Real pixels);
    // impliciet3: one branch of f = 0 traced from near (x0, y0) in both directions
    // along the tangent field (-f_y, f_x), with the partial derivatives fx and fy.
    void ImplicitTrace(const Function2& f, const Function2& fx, const Function2& fy, Real x0,
                       Real y0, Real step, Real maxSteps);

    // --- Texts ---
    void Text(Real x, Real y, const std::string& text);  // tekst, uitvoer
    void AlignedText(Real x, Real y, const std::string& text,
                     const std::string& alignment);  // tekst2, tekstc, tekstr, uitvoer2 ...
    void RotatedText(Real x, Real y, const std::string& text, Real angleDegrees);

    // The axes and other callers that draw a plain segment or text in the current
    // pen with all three outputs.
    void PlainLine(Real x1, Real y1, Real x2, Real y2);

private:
    // Brush from the fill state; "\shade" when eepic is on and the figure is filled
    // with a colour other than white.
    void ApplyFillState();
    // Back to the saved pen, brush and font, with the pen colour and width of the state.
    void RestoreObjects();
    bool Filled() const;
    bool PdfFill();       // the surface brush fills
    void WidePenBegin();  // PDF linewidth 2w before a figure with a wide pen
    void WidePenEnd();
    void AddCurvePoint(Real x, Real y);
    void FlushCurve();
    void DiscardCurve();  // after a failed evaluation: nothing half-collected stays behind
    bool Accepted(Real x, Real y) const;
    // kromme with at most `maxSamples` samples.
    void SampleCurve(const Curve& curve, Real tmin, Real tmax, Real dt, Real maxSamples);
    // The points as a PDF path (with the wide-pen widths) and as one "\path" entry.
    void PdfPath(const std::vector<FloatPoint>& points, bool close, bool fill);
    std::string EepicPath(const std::vector<FloatPoint>& points, bool close) const;
    // The points as one path entry of each picture text.
    void TextPath(const std::vector<FloatPoint>& points, bool close);
    // The TikZ writer with the colours of this moment, or nothing when TikZ is off.
    exporter::TikzWriter* TikzOut();
    // veelhoek and the half-planes: a polygon in the fill state on all three outputs.
    void FilledPolygon(const std::vector<FloatPoint>& points);
    // One cell of impliciet2: a point, a segment or an unfilled polygon.
    void CellCurve(const std::vector<FloatPoint>& points);
    // One direction of impliciet3 from the start point, drawn on all outputs.
    void TraceBranch(const Function2& fx, const Function2& fy, FloatPoint start, Real h,
                     Real maxSteps);
    // Steps 1-4 of every text command; `angle` in whole degrees.
    void TextCommand(Real x, Real y, const std::string& text, const std::string& alignment,
                     int angle, bool aligned);
    static bool Finite(std::initializer_list<Real> values);
    static bool Finite(const std::vector<FloatPoint>& points);

    TPlotSurface& surface_;
    exporter::EepicWriter eepic_;
    exporter::TPdf pdf_;
    bool eepicOn_ = false;
    bool pdfOn_ = false;
    exporter::TikzWriter tikz_;
    bool tikzOn_ = false;
    DrawingState state_;
    View3d view_;
    Pen savedPen_;
    Brush savedBrush_;
    Font savedFont_;
    std::string startFace_ = "Arial";
    WorldBox box_;
    TFloatPointList piece_;
    // The current point of gaNaar/lijnNaar for the PDF page; kept between runs like the
    // eepic one.
    Real currentX_ = 0;
    Real currentY_ = 0;
};

}  // namespace plot
