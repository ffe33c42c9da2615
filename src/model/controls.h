// The parameter controls of the window: one typed identifier each, one table of their names,
// kinds, defaults, ranges and handlers, and the interface through which the core reads and
// writes them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "colour/palette.h"
#include "plane/number_text.h"

namespace vorla {

// Every control, named as its widget (the Qt objectName). The order is the table's; the
// numbered groups are contiguous, so that the helpers below give their i-th member.
enum class Ctl : int {
    // The eleven circle values, in the order D R M N S U V W A B C.
    EditKd,
    EditKr,
    EditKm,
    EditKn,
    EditKs,
    EditKu,
    EditKv,
    EditKw,
    EditKa,
    EditKb,
    EditKc,
    TloustKce,
    edtXod,
    edtXdo,
    edtYzero,
    EditNekonecno,
    EditPresnost,
    SpinKonvergIter,
    EditTotoznost,
    SpinPeriodIter,
    SpinCalcIter,
    EditMaxIterValue,
    SpinInfinityTest,
    SpinClosestIter,
    SpinLimit,
    EditLimit1,
    EditLimit2,
    CheckUplnost,
    CheckBila,
    EditX1,
    EditX2,
    EditY1,
    EditY2,
    SpinNumRect,
    SpinRectDensity,
    SpinMouseIter,
    SpinRegionIter,
    SpinLyapIter,
    CheckClear,
    // The colours of K1..K5.
    LabelB1,
    LabelB2,
    LabelB3,
    LabelB4,
    LabelB5,
    // The eight classes of the convergence picture.
    LabelBA,
    LabelBB,
    LabelBC,
    LabelBD,
    LabelBE,
    LabelBF,
    LabelBG,
    LabelBH,
    LabelLyapNegat,
    LabelLyapZero,
    LabelLyapPosit,
    LabelMouseFrom,
    LabelMouseTo,
    LabelIterCircle,
    LabelItersFrom,
    LabelItersTo,
    LabelLimitD,
    LabelLimitH,
    // The eight end regions.
    LabelKon0,
    LabelKon1,
    LabelKon2,
    LabelKon3,
    LabelKon4,
    LabelKon5,
    LabelKon6,
    LabelKon7,
    // The sixteen periods.
    lbl0,
    lbl1,
    lbl2,
    lbl3,
    lbl4,
    lbl5,
    lbl6,
    lbl7,
    lbl8,
    lbl9,
    lbl10,
    lbl11,
    lbl12,
    lbl13,
    lbl14,
    lbl15,
    // The twelve steps of the rectangle and infinity pictures.
    LabelRect1,
    LabelRect2,
    LabelRect3,
    LabelRect4,
    LabelRect5,
    LabelRect6,
    LabelRect7,
    LabelRect8,
    LabelRect9,
    LabelRect10,
    LabelRect11,
    LabelRect12,
    kCount
};

// The number of controls.
inline constexpr int kControlCount = static_cast<int>(Ctl::kCount);

// The control `i` places after `first`.
constexpr Ctl CtlAfter(Ctl first, int i) {
    return static_cast<Ctl>(static_cast<int>(first) + i);
}
// The field of circle value i (0..10: D R M N S U V W A B C).
constexpr Ctl CircleField(int i) {
    return CtlAfter(Ctl::EditKd, i);
}
// The colour label of circle K(i+1), i = 0..4.
constexpr Ctl CircleLabel(int i) {
    return CtlAfter(Ctl::LabelB1, i);
}
// The colour label of convergence class i (0..7: A..H).
constexpr Ctl ClassLabel(int i) {
    return CtlAfter(Ctl::LabelBA, i);
}
// The colour label of end region i (0..7).
constexpr Ctl RegionLabel(int i) {
    return CtlAfter(Ctl::LabelKon0, i);
}
// The colour label of period i (0..15).
constexpr Ctl PeriodLabel(int i) {
    return CtlAfter(Ctl::lbl0, i);
}
// The colour label of rectangle step i + 1 (i = 0..11).
constexpr Ctl RectLabel(int i) {
    return CtlAfter(Ctl::LabelRect1, i);
}

// The widget a control is.
enum class ControlKind { Edit, Spin, Check, ColourLabel };

// What the window runs when the user leaves a field or clicks a label.
enum class ControlHandler {
    None,
    Coefficient,    // EditKoefExit: the number is checked and stored by the field's tag
    InfinityBound,  // EditNekonecnoExit: the bound of infinity is read again
    Accuracy,       // EditPresnostExit: the accuracy of convergence is read again
    PickColour,     // LabelyBarev: a click chooses the label's new colour
};

// One row of the table.
struct ControlSpec {
    Ctl id;                   // the row's own identifier (its place in the table)
    const char* name;         // the widget's objectName
    ControlKind kind;         // the widget it is
    const char* defaultText;  // edit text, spin value, "1"/"0" for a check box
    int min = 0, max = 0;     // spin range
    int maxLength = 0;        // characters the field takes; 0: no limit
    int tag = 0;              // the widget's Tag: what a value or a colour is stored as
    Colour colour = 0;        // default colour of a label
    ControlHandler handler = ControlHandler::None;  // what leaving or clicking it runs
    RangeCheck check = RangeCheck::None;            // the range of an edit's number
    long double fallback = 0;  // what an edit reads as for a bad number or one out of range
};

// The table, in the order of Ctl.
const std::array<ControlSpec, kControlCount>& ControlTable();
// The row of a control.
const ControlSpec& Spec(Ctl c);
// The control of a name given from outside (the renderer's --set); nothing for a stranger.
std::optional<Ctl> FindControl(std::string_view name);

// What the core reads of the controls; the window implements it over its widgets.
class Controls : public BadNumberReporter {
  public:
    // The text of an edit or a spin edit, "1"/"0" for a check box.
    virtual std::string Text(Ctl c) const = 0;
    // Puts a text into an edit, a spin edit or a check box (as Text gives it).
    virtual void SetText(Ctl c, const std::string& text) = 0;
    // Whether a check box is checked.
    virtual bool Checked(Ctl c) const = 0;
    // The colour of a colour label.
    virtual Colour LabelColour(Ctl c) const = 0;
    // Gives a colour label a new colour.
    virtual void SetLabelColour(Ctl c, Colour colour) = 0;
    // Moves the focus to a control.
    virtual void Focus(Ctl c) = 0;
    // Moves the focus to the Recalc. button.
    virtual void FocusRecalc() = 0;
    // Tells of a bad number in a field and moves the focus to it.
    virtual void ShowBadNumber(Ctl field) = 0;

    // A spin edit's value, brought into its range (a text that is no integer gives the
    // nearest end of the range for a sign, else the minimum).
    int Spin(Ctl c) const;
    // An edit's number, read by its range check; a failure for a bad text.
    Result<long double> ReadNumber(Ctl c) const;
    // An edit's number by its range check, or its fallback after a bad text.
    long double Number(Ctl c) const;
    // The number reader's report names the field: shown through ShowBadNumber.
    void ReportBadNumber(const std::string& field) final;
};

// Controls held as plain values: the headless renderer's and the tests' window.
class ControlValues : public Controls {
  public:
    // Every control at its default.
    ControlValues();
    // A copy of what `from` holds now: every text, check and colour (not the focus).
    explicit ControlValues(const Controls& from);

    // The Controls operations over the values held here; the focus and the reports of bad
    // numbers are recorded below.
    std::string Text(Ctl c) const override { return texts_[Index(c)]; }
    void SetText(Ctl c, const std::string& text) override { texts_[Index(c)] = text; }
    bool Checked(Ctl c) const override { return Text(c) == "1"; }
    Colour LabelColour(Ctl c) const override { return colours_[Index(c)]; }
    void SetLabelColour(Ctl c, Colour colour) override { colours_[Index(c)] = colour; }
    void Focus(Ctl c) override { focused = c; }
    void FocusRecalc() override { focused.reset(); }
    void ShowBadNumber(Ctl field) override {
        badNumberReports.push_back(field);
        focused = field;
    }

    // Sets a control named from outside from a text as a user would give it; a refusal
    // carries the reason (an unknown name or a text the control does not take).
    Status Set(const std::string& name, const std::string& text);

    std::optional<Ctl> focused;         // the control given the focus last, if any
    std::vector<Ctl> badNumberReports;  // the fields reported, in order

  private:
    static int Index(Ctl c) { return static_cast<int>(c); }
    std::array<std::string, kControlCount> texts_;
    std::array<Colour, kControlCount> colours_{};
};

}  // namespace vorla
