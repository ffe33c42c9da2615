#include "model/controls.h"

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

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

std::array<ControlSpec, kControlCount> MakeTable() {
    using C = Ctl;
    const Colour* period = kDefaultPeriodColors.data();
    const std::vector<ControlSpec> rows = {
        Edit(C::EditKd, "EditKd", "3", R::None, 0, 101),
        Edit(C::EditKr, "EditKr", "2.5", R::Positive, 0, 102),
        Edit(C::EditKm, "EditKm", "1", R::None, 2, 103),
        Edit(C::EditKn, "EditKn", "1", R::None, 2, 104),
        Edit(C::EditKs, "EditKs", "1", R::Positive, 1, 105),
        Edit(C::EditKu, "EditKu", "2", R::None, 3, 106),
        Edit(C::EditKv, "EditKv", "3", R::None, 3, 107),
        Edit(C::EditKw, "EditKw", "2", R::Positive, 1, 108),
        Edit(C::EditKa, "EditKa", "3", R::None, 1, 109, H::Coefficient),
        Edit(C::EditKb, "EditKb", "2", R::None, 3, 110, H::Coefficient),
        Edit(C::EditKc, "EditKc", "2.5", R::Positive, 2, 111),
        Spin(C::TloustKce, "TloustKce", "2", 1, 5),
        Edit(C::edtXod, "edtXod", "-3", R::None, -3, 112, H::Coefficient),
        Edit(C::edtXdo, "edtXdo", "7", R::None, 5, 113, H::Coefficient),
        Edit(C::edtYzero, "edtYzero", "1/3", R::None, 1.0L / 3, 114, H::Coefficient),
        Edit(C::EditNekonecno, "EditNekonecno", "1000", R::Positive, 1000, 0, H::InfinityBound),
        Edit(C::EditPresnost, "EditPresnost", "0.01", R::Positive, 0.001L, 0, H::Accuracy),
        Spin(C::SpinKonvergIter, "SpinKonvergIter", "200", 1, kMillion),
        Edit(C::EditTotoznost, "EditTotoznost", "0.01", R::Positive, 0.01L),
        Spin(C::SpinPeriodIter, "SpinPeriodIter", "500", 1, kMillion),
        Spin(C::SpinCalcIter, "SpinCalcIter", "5", 1, kMillion),
        Edit(C::EditMaxIterValue, "EditMaxIterValue", "2", R::Positive, 2),
        Spin(C::SpinInfinityTest, "SpinInfinityTest", "500", 1, kMillion),
        Spin(C::SpinClosestIter, "SpinClosestIter", "100", 1, kMillion),
        Spin(C::SpinLimit, "SpinLimit", "3", 1, 1000),
        Edit(C::EditLimit1, "EditLimit1", "0.01", R::NonNegative, 0, 116, H::Coefficient),
        Edit(C::EditLimit2, "EditLimit2", "1", R::NonNegative, 1, 116, H::Coefficient),
        Check(C::CheckUplnost, "CheckUplnost", true),
        Check(C::CheckBila, "CheckBila", true),
        Edit(C::EditX1, "EditX1", "1.5", R::None, 1.5L),
        Edit(C::EditX2, "EditX2", "3.5", R::None, 2),
        Edit(C::EditY1, "EditY1", "1.5", R::None, 1.5L),
        Edit(C::EditY2, "EditY2", "3.5", R::None, 2),
        Spin(C::SpinNumRect, "SpinNumRect", "6", 1, 12),
        Spin(C::SpinRectDensity, "SpinRectDensity", "64", 1, 10000),
        Spin(C::SpinMouseIter, "SpinMouseIter", "100", 1, kMillion),
        Spin(C::SpinRegionIter, "SpinRegionIter", "2", 1, kMillion),
        Spin(C::SpinLyapIter, "SpinLyapIter", "200", 1, kMillion),
        Check(C::CheckClear, "CheckClear", false),
        Label(C::LabelB1, "LabelB1", 51, Rgb(0, 0, 0)),
        Label(C::LabelB2, "LabelB2", 52, Rgb(255, 0, 0)),
        Label(C::LabelB3, "LabelB3", 53, Rgb(0, 128, 0)),
        Label(C::LabelB4, "LabelB4", 54, Rgb(0, 0, 255)),
        Label(C::LabelB5, "LabelB5", 55, Rgb(128, 0, 0)),
        Label(C::LabelBA, "LabelBA", 60, Rgb(0, 0, 128)),
        Label(C::LabelBB, "LabelBB", 61, Rgb(0, 128, 0)),
        Label(C::LabelBC, "LabelBC", 62, Rgb(0, 255, 255)),
        Label(C::LabelBD, "LabelBD", 63, Rgb(0, 0, 255)),
        Label(C::LabelBE, "LabelBE", 64, Rgb(255, 255, 0)),
        Label(C::LabelBF, "LabelBF", 65, Rgb(204, 48, 204)),
        Label(C::LabelBG, "LabelBG", 66, Rgb(255, 128, 0)),
        Label(C::LabelBH, "LabelBH", 67, Rgb(230, 198, 70)),
        Label(C::LabelLyapNegat, "LabelLyapNegat", 101, Rgb(0, 0, 128)),
        Label(C::LabelLyapZero, "LabelLyapZero", 101, kWhite),
        Label(C::LabelLyapPosit, "LabelLyapPosit", 101, kRed),
        Label(C::LabelMouseFrom, "LabelMouseFrom", 21, Rgb(255, 128, 0)),
        Label(C::LabelMouseTo, "LabelMouseTo", 21, Rgb(160, 0, 0)),
        Label(C::LabelIterCircle, "LabelIterCircle", 21, Rgb(0, 255, 0)),
        Label(C::LabelItersFrom, "LabelItersFrom", 24, Rgb(255, 255, 0)),
        Label(C::LabelItersTo, "LabelItersTo", 24, Rgb(160, 0, 0)),
        // The ends of the n-th distance ramp only show their colours.
        Label(C::LabelLimitD, "LabelLimitD", 0, Rgb(255, 255, 0), H::None),
        Label(C::LabelLimitH, "LabelLimitH", 0, kBlack, H::None),
        Label(C::LabelKon0, "LabelKon0", 70, Rgb(0, 0, 128)),
        Label(C::LabelKon1, "LabelKon1", 71, Rgb(0, 128, 0)),
        Label(C::LabelKon2, "LabelKon2", 72, Rgb(0, 255, 255)),
        Label(C::LabelKon3, "LabelKon3", 73, Rgb(0, 0, 255)),
        Label(C::LabelKon4, "LabelKon4", 74, Rgb(255, 255, 0)),
        Label(C::LabelKon5, "LabelKon5", 75, Rgb(204, 48, 204)),
        Label(C::LabelKon6, "LabelKon6", 76, Rgb(255, 128, 0)),
        Label(C::LabelKon7, "LabelKon7", 77, Rgb(230, 198, 70)),
        // lbl0 takes a colour like the others, although its tag 0 is the ramp ends' too.
        Label(C::lbl0, "lbl0", 0, period[0]),
        Label(C::lbl1, "lbl1", 1, period[1]),
        Label(C::lbl2, "lbl2", 2, period[2]),
        Label(C::lbl3, "lbl3", 3, period[3]),
        Label(C::lbl4, "lbl4", 4, period[4]),
        Label(C::lbl5, "lbl5", 5, period[5]),
        Label(C::lbl6, "lbl6", 6, period[6]),
        Label(C::lbl7, "lbl7", 7, period[7]),
        Label(C::lbl8, "lbl8", 8, period[8]),
        Label(C::lbl9, "lbl9", 9, period[9]),
        Label(C::lbl10, "lbl10", 10, period[10]),
        Label(C::lbl11, "lbl11", 11, period[11]),
        Label(C::lbl12, "lbl12", 12, period[12]),
        Label(C::lbl13, "lbl13", 13, period[13]),
        Label(C::lbl14, "lbl14", 14, period[14]),
        Label(C::lbl15, "lbl15", 15, period[15]),
        Label(C::LabelRect1, "LabelRect1", 23, Rgb(0, 255, 255)),
        Label(C::LabelRect2, "LabelRect2", 23, Rgb(0, 0, 255)),
        Label(C::LabelRect3, "LabelRect3", 23, Rgb(0, 128, 0)),
        Label(C::LabelRect4, "LabelRect4", 23, Rgb(128, 0, 0)),
        Label(C::LabelRect5, "LabelRect5", 23, Rgb(255, 0, 0)),
        Label(C::LabelRect6, "LabelRect6", 23, Rgb(128, 0, 128)),
        Label(C::LabelRect7, "LabelRect7", 23, Rgb(255, 0, 255)),
        Label(C::LabelRect8, "LabelRect8", 23, Rgb(0, 0, 128)),
        Label(C::LabelRect9, "LabelRect9", 23, Rgb(0, 255, 0)),
        Label(C::LabelRect10, "LabelRect10", 23, Rgb(128, 128, 0)),
        Label(C::LabelRect11, "LabelRect11", 23, Rgb(192, 220, 192)),
        Label(C::LabelRect12, "LabelRect12", 23, Rgb(0, 0, 0)),
    };
    std::array<ControlSpec, kControlCount> table{};
    for (int i = 0; i < kControlCount; ++i) {
        // Each row in the place of its identifier: a row left out or misplaced stops here.
        if (i >= static_cast<int>(rows.size()) || rows[i].id != static_cast<Ctl>(i))
            throw std::logic_error("control table out of order at row " + std::to_string(i));
        table[i] = rows[i];
    }
    if (rows.size() != table.size()) throw std::logic_error("control table too long");
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

Status ControlValues::Set(const std::string& name, const std::string& text) {
    const std::optional<Ctl> found = FindControl(name);
    if (!found) return Failure{"unknown control '" + name + "'"};
    const int i = Index(*found);
    switch (Spec(*found).kind) {
        case ControlKind::Edit:
            texts_[i] = text;
            return {};
        case ControlKind::Spin: {
            long long v;
            if (!ParseInt(text, v))
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
