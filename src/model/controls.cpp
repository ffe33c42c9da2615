#include "model/controls.h"

#include <cerrno>
#include <cstdlib>

namespace vorla {
namespace {
using K = ControlKind;
constexpr int kMillion = 1000000;

ControlSpec Edit(const char* n, const char* t, int tag = 0) {
    return {n, K::Edit, t, 0, 0, tag, 0};
}
ControlSpec Spin(const char* n, const char* t, int lo, int hi) {
    return {n, K::Spin, t, lo, hi, 0, 0};
}
ControlSpec Check(const char* n, bool on) {
    return {n, K::Check, on ? "1" : "0", 0, 0, 0, 0};
}
ControlSpec Label(const char* n, int tag, Colour c) {
    return {n, K::ColourLabel, "", 0, 0, tag, c};
}

std::vector<ControlSpec> MakeTable() {
    std::vector<ControlSpec> t = {
        Edit("EditKd", "3", 101),
        Edit("EditKr", "2.5", 102),
        Edit("EditKm", "1", 103),
        Edit("EditKn", "1", 104),
        Edit("EditKs", "1", 105),
        Edit("EditKu", "2", 106),
        Edit("EditKv", "3", 107),
        Edit("EditKw", "2", 108),
        Edit("EditKa", "3", 109),
        Edit("EditKb", "2", 110),
        Edit("EditKc", "2.5", 111),
        Spin("TloustKce", "2", 1, 5),
        Edit("edtXod", "-3", 112),
        Edit("edtXdo", "7", 113),
        Edit("edtYzero", "1/3", 114),
        Edit("EditNekonecno", "1000"),
        Edit("EditPresnost", "0.01"),
        Spin("SpinKonvergIter", "200", 1, kMillion),
        Edit("EditTotoznost", "0.01"),
        Spin("SpinPeriodIter", "500", 1, kMillion),
        Spin("SpinCalcIter", "5", 1, kMillion),
        Edit("EditMaxIterValue", "2"),
        Spin("SpinInfinityTest", "500", 1, kMillion),
        Spin("SpinClosestIter", "100", 1, kMillion),
        Spin("SpinLimit", "3", 1, 1000),
        Edit("EditLimit1", "0.01", 116),
        Edit("EditLimit2", "1", 116),
        Check("CheckUplnost", true),
        Check("CheckBila", true),
        Edit("EditX1", "1.5"),
        Edit("EditX2", "3.5"),
        Edit("EditY1", "1.5"),
        Edit("EditY2", "3.5"),
        Spin("SpinNumRect", "6", 1, 12),
        Spin("SpinRectDensity", "64", 1, 10000),
        Spin("SpinMouseIter", "100", 1, kMillion),
        Spin("SpinRegionIter", "2", 1, kMillion),
        Spin("SpinLyapIter", "200", 1, kMillion),
        Check("CheckClear", false),
        Label("LabelB1", 51, Rgb(0, 0, 0)),
        Label("LabelB2", 52, Rgb(255, 0, 0)),
        Label("LabelB3", 53, Rgb(0, 128, 0)),
        Label("LabelB4", 54, Rgb(0, 0, 255)),
        Label("LabelB5", 55, Rgb(128, 0, 0)),
        Label("LabelBA", 60, Rgb(0, 0, 128)),
        Label("LabelBB", 61, Rgb(0, 128, 0)),
        Label("LabelBC", 62, Rgb(0, 255, 255)),
        Label("LabelBD", 63, Rgb(0, 0, 255)),
        Label("LabelBE", 64, Rgb(255, 255, 0)),
        Label("LabelBF", 65, Rgb(204, 48, 204)),
        Label("LabelBG", 66, Rgb(255, 128, 0)),
        Label("LabelBH", 67, Rgb(230, 198, 70)),
        Label("LabelLyapNegat", 101, Rgb(0, 0, 128)),
        Label("LabelLyapZero", 101, kWhite),
        Label("LabelLyapPosit", 101, kRed),
        Label("LabelMouseFrom", 21, Rgb(255, 128, 0)),
        Label("LabelMouseTo", 21, Rgb(160, 0, 0)),
        Label("LabelIterCircle", 21, Rgb(0, 255, 0)),
        Label("LabelItersFrom", 24, Rgb(255, 255, 0)),
        Label("LabelItersTo", 24, Rgb(160, 0, 0)),
        Label("LabelLimitD", 0, Rgb(255, 255, 0)),
        Label("LabelLimitH", 0, kBlack),
    };
    static const char* kon[8] = {"LabelKon0", "LabelKon1", "LabelKon2", "LabelKon3",
                                 "LabelKon4", "LabelKon5", "LabelKon6", "LabelKon7"};
    static const Colour classDefaults[8] = {Rgb(0, 0, 128),   Rgb(0, 128, 0),   Rgb(0, 255, 255),
                                            Rgb(0, 0, 255),   Rgb(255, 255, 0), Rgb(204, 48, 204),
                                            Rgb(255, 128, 0), Rgb(230, 198, 70)};
    for (int i = 0; i < 8; ++i) t.push_back(Label(kon[i], 70 + i, classDefaults[i]));
    static const char* lbl[16] = {"lbl0",  "lbl1",  "lbl2",  "lbl3", "lbl4",  "lbl5",
                                  "lbl6",  "lbl7",  "lbl8",  "lbl9", "lbl10", "lbl11",
                                  "lbl12", "lbl13", "lbl14", "lbl15"};
    for (int i = 0; i < 16; ++i) t.push_back(Label(lbl[i], i, kDefaultPeriodColors[i]));
    static const char* rect[12] = {"LabelRect1", "LabelRect2",  "LabelRect3",  "LabelRect4",
                                   "LabelRect5", "LabelRect6",  "LabelRect7",  "LabelRect8",
                                   "LabelRect9", "LabelRect10", "LabelRect11", "LabelRect12"};
    static const Colour rectDefaults[12] = {Rgb(0, 255, 255), Rgb(0, 0, 255),     Rgb(0, 128, 0),
                                            Rgb(128, 0, 0),   Rgb(255, 0, 0),     Rgb(128, 0, 128),
                                            Rgb(255, 0, 255), Rgb(0, 0, 128),     Rgb(0, 255, 0),
                                            Rgb(128, 128, 0), Rgb(192, 220, 192), Rgb(0, 0, 0)};
    for (int i = 0; i < 12; ++i) t.push_back(Label(rect[i], 23, rectDefaults[i]));
    return t;
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

const std::vector<ControlSpec>& ControlTable() {
    static const std::vector<ControlSpec> table = MakeTable();
    return table;
}

const ControlSpec* FindControl(const std::string& name) {
    for (const auto& c : ControlTable())
        if (name == c.name) return &c;
    return nullptr;
}

int Controls::Spin(const std::string& name) const {
    const ControlSpec* spec = FindControl(name);
    const int lo = spec ? spec->min : 1, hi = spec ? spec->max : 1;
    long long v = 0;
    const std::string t = Text(name);
    if (!ParseInt(t, v)) {
        // An overflowing integer still says which end of the range it is beyond.
        const bool digits = t.find_first_of("0123456789") != std::string::npos;
        return digits && t.find('-') == std::string::npos ? hi : lo;
    }
    return v < lo ? lo : v > hi ? hi : static_cast<int>(v);
}

ControlValues::ControlValues() {
    for (const auto& c : ControlTable()) {
        if (c.kind == ControlKind::ColourLabel)
            colours_[c.name] = c.colour;
        else
            texts_[c.name] = c.defaultText;
    }
}

std::string ControlValues::Text(const std::string& name) const {
    auto it = texts_.find(name);
    return it == texts_.end() ? std::string() : it->second;
}

void ControlValues::SetText(const std::string& name, const std::string& text) {
    texts_[name] = text;
}

bool ControlValues::Checked(const std::string& name) const {
    return Text(name) == "1";
}

Colour ControlValues::LabelColour(const std::string& name) const {
    auto it = colours_.find(name);
    return it == colours_.end() ? kBlack : it->second;
}

void ControlValues::SetLabelColour(const std::string& name, Colour c) {
    colours_[name] = c;
}

Status ControlValues::Set(const std::string& name, const std::string& text) {
    const ControlSpec* spec = FindControl(name);
    if (!spec) return Failure{"unknown control '" + name + "'"};
    switch (spec->kind) {
        case ControlKind::Edit:
            texts_[name] = text;
            return {};
        case ControlKind::Spin: {
            long long v;
            if (!ParseInt(text, v))
                return Failure{name + " takes a whole number, not '" + text + "'"};
            texts_[name] = std::to_string(v);
            return {};
        }
        case ControlKind::Check:
            if (text == "1" || text == "on" || text == "true" || text == "yes") {
                texts_[name] = "1";
                return {};
            }
            if (text == "0" || text == "off" || text == "false" || text == "no") {
                texts_[name] = "0";
                return {};
            }
            return Failure{name + " takes on or off, not '" + text + "'"};
        case ControlKind::ColourLabel: {
            const Result<Colour> c = ParseColourText(text);
            if (!c)
                return Failure{name + " takes a colour (a name, #RRGGBB or r,g,b), not '" + text +
                               "'"};
            colours_[name] = c.Value();
            return {};
        }
    }
    return Failure{"unknown control '" + name + "'"};
}

}  // namespace vorla
