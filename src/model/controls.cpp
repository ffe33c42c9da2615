#include "model/controls.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace vorla {
namespace {
using K = ControlKind;
using H = ControlHandler;
using R = RangeCheck;
constexpr int kMillion = 1000000;

ControlSpec Edit(Ctl id, const char* n, const char* t, R check, long double fallback, int tag = 0,
                 H handler = H::None) {
    return {id, n, K::Edit, t, 0, 0, 0, tag, 0, handler, check, fallback};
}
// A spin edit; the ones up to a million take at most eight characters.
ControlSpec Spin(Ctl id, const char* n, const char* t, int lo, int hi) {
    return {id, n, K::Spin, t, lo, hi, hi == kMillion ? 8 : 0, 0, 0, H::None, R::None, 0};
}
ControlSpec Check(Ctl id, const char* n, bool on) {
    return {id, n, K::Check, on ? "1" : "0", 0, 0, 0, 0, 0, H::None, R::None, 0};
}
// A colour label; a click chooses its colour unless it only shows one.
ControlSpec Label(Ctl id, const char* n, int tag, Colour c, H handler = H::PickColour) {
    return {id, n, K::ColourLabel, "", 0, 0, 0, tag, c, handler, R::None, 0};
}

// A row's identifier and its widget's name, spelt once.
#define ID(name) Ctl::name, #name

std::array<ControlSpec, kControlCount> MakeTable() {
    const Colour* period = kDefaultPeriodColors.data();
    const std::vector<ControlSpec> rows = {
        Edit(ID(EditKd), "3", R::None, 0, 101),
        Edit(ID(EditKr), "2.5", R::Positive, 0, 102),
        Edit(ID(EditKm), "1", R::None, 2, 103),
        Edit(ID(EditKn), "1", R::None, 2, 104),
        Edit(ID(EditKs), "1", R::Positive, 1, 105),
        Edit(ID(EditKu), "2", R::None, 3, 106),
        Edit(ID(EditKv), "3", R::None, 3, 107),
        Edit(ID(EditKw), "2", R::Positive, 1, 108),
        Edit(ID(EditKa), "3", R::None, 1, 109, H::Coefficient),
        Edit(ID(EditKb), "2", R::None, 3, 110, H::Coefficient),
        Edit(ID(EditKc), "2.5", R::Positive, 2, 111),
        Spin(ID(TloustKce), "2", 1, 5),
        Edit(ID(edtXod), "-3", R::None, -3, 112, H::Coefficient),
        Edit(ID(edtXdo), "7", R::None, 5, 113, H::Coefficient),
        Edit(ID(edtYzero), "1/3", R::None, 1.0L / 3, 114, H::Coefficient),
        Edit(ID(EditNekonecno), "1000", R::Positive, 1000, 0, H::InfinityBound),
        Edit(ID(EditPresnost), "0.01", R::Positive, 0.001L, 0, H::Accuracy),
        Spin(ID(SpinKonvergIter), "200", 1, kMillion),
        Edit(ID(EditTotoznost), "0.01", R::Positive, 0.01L),
        Spin(ID(SpinPeriodIter), "500", 1, kMillion),
        Spin(ID(SpinCalcIter), "5", 1, kMillion),
        Edit(ID(EditMaxIterValue), "2", R::Positive, 2),
        Spin(ID(SpinInfinityTest), "500", 1, kMillion),
        Spin(ID(SpinClosestIter), "100", 1, kMillion),
        Spin(ID(SpinLimit), "3", 1, 1000),
        Edit(ID(EditLimit1), "0.01", R::NonNegative, 0, 116, H::Coefficient),
        Edit(ID(EditLimit2), "1", R::NonNegative, 1, 116, H::Coefficient),
        Check(ID(CheckUplnost), true),
        Check(ID(CheckBila), true),
        Edit(ID(EditX1), "1.5", R::None, 1.5L),
        Edit(ID(EditX2), "3.5", R::None, 2),
        Edit(ID(EditY1), "1.5", R::None, 1.5L),
        Edit(ID(EditY2), "3.5", R::None, 2),
        Spin(ID(SpinNumRect), "6", 1, 12),
        Spin(ID(SpinRectDensity), "64", 1, 10000),
        Spin(ID(SpinMouseIter), "100", 1, kMillion),
        Spin(ID(SpinRegionIter), "2", 1, kMillion),
        Spin(ID(SpinLyapIter), "200", 1, kMillion),
        Check(ID(CheckClear), false),
        Label(ID(LabelB1), 51, Rgb(0, 0, 0)),
        Label(ID(LabelB2), 52, Rgb(255, 0, 0)),
        Label(ID(LabelB3), 53, Rgb(0, 128, 0)),
        Label(ID(LabelB4), 54, Rgb(0, 0, 255)),
        Label(ID(LabelB5), 55, Rgb(128, 0, 0)),
        Label(ID(LabelBA), 60, Rgb(0, 0, 128)),
        Label(ID(LabelBB), 61, Rgb(0, 128, 0)),
        Label(ID(LabelBC), 62, Rgb(0, 255, 255)),
        Label(ID(LabelBD), 63, Rgb(0, 0, 255)),
        Label(ID(LabelBE), 64, Rgb(255, 255, 0)),
        Label(ID(LabelBF), 65, Rgb(204, 48, 204)),
        Label(ID(LabelBG), 66, Rgb(255, 128, 0)),
        Label(ID(LabelBH), 67, Rgb(230, 198, 70)),
        Label(ID(LabelLyapNegat), 101, Rgb(0, 0, 128)),
        Label(ID(LabelLyapZero), 101, kWhite),
        Label(ID(LabelLyapPosit), 101, kRed),
        Label(ID(LabelMouseFrom), 21, Rgb(255, 128, 0)),
        Label(ID(LabelMouseTo), 21, Rgb(160, 0, 0)),
        Label(ID(LabelIterCircle), 21, Rgb(0, 255, 0)),
        Label(ID(LabelItersFrom), 24, Rgb(255, 255, 0)),
        Label(ID(LabelItersTo), 24, Rgb(160, 0, 0)),
        // The ends of the n-th distance ramp only show their colours.
        Label(ID(LabelLimitD), 0, Rgb(255, 255, 0), H::None),
        Label(ID(LabelLimitH), 0, kBlack, H::None),
        Label(ID(LabelKon0), 70, Rgb(0, 0, 128)),
        Label(ID(LabelKon1), 71, Rgb(0, 128, 0)),
        Label(ID(LabelKon2), 72, Rgb(0, 255, 255)),
        Label(ID(LabelKon3), 73, Rgb(0, 0, 255)),
        Label(ID(LabelKon4), 74, Rgb(255, 255, 0)),
        Label(ID(LabelKon5), 75, Rgb(204, 48, 204)),
        Label(ID(LabelKon6), 76, Rgb(255, 128, 0)),
        Label(ID(LabelKon7), 77, Rgb(230, 198, 70)),
        // lbl0 takes a colour like the others, although its tag 0 is the ramp ends' too.
        Label(ID(lbl0), 0, period[0]),
        Label(ID(lbl1), 1, period[1]),
        Label(ID(lbl2), 2, period[2]),
        Label(ID(lbl3), 3, period[3]),
        Label(ID(lbl4), 4, period[4]),
        Label(ID(lbl5), 5, period[5]),
        Label(ID(lbl6), 6, period[6]),
        Label(ID(lbl7), 7, period[7]),
        Label(ID(lbl8), 8, period[8]),
        Label(ID(lbl9), 9, period[9]),
        Label(ID(lbl10), 10, period[10]),
        Label(ID(lbl11), 11, period[11]),
        Label(ID(lbl12), 12, period[12]),
        Label(ID(lbl13), 13, period[13]),
        Label(ID(lbl14), 14, period[14]),
        Label(ID(lbl15), 15, period[15]),
        Label(ID(LabelRect1), 23, Rgb(0, 255, 255)),
        Label(ID(LabelRect2), 23, Rgb(0, 0, 255)),
        Label(ID(LabelRect3), 23, Rgb(0, 128, 0)),
        Label(ID(LabelRect4), 23, Rgb(128, 0, 0)),
        Label(ID(LabelRect5), 23, Rgb(255, 0, 0)),
        Label(ID(LabelRect6), 23, Rgb(128, 0, 128)),
        Label(ID(LabelRect7), 23, Rgb(255, 0, 255)),
        Label(ID(LabelRect8), 23, Rgb(0, 0, 128)),
        Label(ID(LabelRect9), 23, Rgb(0, 255, 0)),
        Label(ID(LabelRect10), 23, Rgb(128, 128, 0)),
        Label(ID(LabelRect11), 23, Rgb(192, 220, 192)),
        Label(ID(LabelRect12), 23, Rgb(0, 0, 0)),
    };
#undef ID
    std::array<ControlSpec, kControlCount> table{};
    // Each row in the place of its identifier: a row left out or misplaced is a fault of the
    // program itself, caught at the first use of the table.
    bool inOrder = rows.size() == table.size();
    for (int i = 0; inOrder && i < kControlCount; ++i) {
        inOrder = rows[i].id == static_cast<Ctl>(i);
        table[i] = rows[i];
    }
    if (!inOrder) {
        std::fputs("vorla: the control table is out of order\n", stderr);
        std::abort();
    }
    return table;
}

bool ParseInt(const std::string& s, long long& v) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    if (i == s.size()) return false;
    errno = 0;
    char* end = nullptr;
    v = std::strtoll(s.c_str() + i, &end, 10);
    if (end == s.c_str() + i) return false;
    while (*end == ' ') ++end;
    return *end == 0 && errno == 0;
}
}  // namespace

const std::array<ControlSpec, kControlCount>& ControlTable() {
    static const std::array<ControlSpec, kControlCount> table = MakeTable();
    return table;
}

const ControlSpec& Spec(Ctl c) {
    return ControlTable()[static_cast<int>(c)];
}

std::optional<Ctl> FindControl(std::string_view name) {
    for (const auto& c : ControlTable())
        if (name == c.name) return c.id;
    return std::nullopt;
}

int Controls::Spin(Ctl c) const {
    const ControlSpec& spec = Spec(c);
    const int lo = spec.min, hi = spec.max;
    long long v = 0;
    const std::string t = Text(c);
    if (!ParseInt(t, v)) {
        // An overflowing integer still says which end of the range it is beyond.
        const bool digits = t.find_first_of("0123456789") != std::string::npos;
        return digits && t.find('-') == std::string::npos ? hi : lo;
    }
    return v < lo ? lo : v > hi ? hi : static_cast<int>(v);
}

Result<long double> Controls::ReadNumber(Ctl c) const {
    return TextToNumber(Text(c), Spec(c).check);
}

long double Controls::Number(Ctl c) const {
    const ControlSpec& spec = Spec(c);
    return TextToNumberDef(Text(c), spec.check, spec.fallback);
}

void Controls::ReportBadNumber(const std::string& field) {
    if (const std::optional<Ctl> c = FindControl(field)) ShowBadNumber(*c);
}

ControlValues::ControlValues() {
    for (const auto& c : ControlTable()) {
        const int i = Index(c.id);
        if (c.kind == ControlKind::ColourLabel)
            colours_[i] = c.colour;
        else
            texts_[i] = c.defaultText, colours_[i] = kBlack;
    }
}

ControlValues::ControlValues(const Controls& from) : ControlValues() {
    for (const auto& c : ControlTable()) {
        if (c.kind == ControlKind::ColourLabel)
            colours_[Index(c.id)] = from.LabelColour(c.id);
        else
            texts_[Index(c.id)] = from.Text(c.id);
    }
}

Status ControlValues::Set(const std::string& name, const std::string& text) {
    const std::optional<Ctl> found = FindControl(name);
    if (!found) return Failure{"unknown control '" + name + "'"};
    const int i = Index(*found);
    switch (Spec(*found).kind) {
        case ControlKind::Edit:
            texts_[i] = text;
            return {};
        case ControlKind::Spin: {
            // Digits alone: every spin counts from 1 up.
            long long v;
            if (text.find_first_not_of("0123456789") != std::string::npos || !ParseInt(text, v))
                return Failure{name + " takes a whole number, not '" + text + "'"};
            texts_[i] = std::to_string(v);
            return {};
        }
        case ControlKind::Check:
            if (text == "1" || text == "on" || text == "true" || text == "yes") {
                texts_[i] = "1";
                return {};
            }
            if (text == "0" || text == "off" || text == "false" || text == "no") {
                texts_[i] = "0";
                return {};
            }
            return Failure{name + " takes on or off, not '" + text + "'"};
        case ControlKind::ColourLabel: {
            const Result<Colour> c = ParseColourText(text);
            if (!c)
                return Failure{name + " takes a colour (a name, #RRGGBB or r,g,b), not '" + text +
                               "'"};
            colours_[i] = c.Value();
            return {};
        }
    }
    return Failure{"unknown control '" + name + "'"};
}

}  // namespace vorla
