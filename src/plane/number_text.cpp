#include "plane/number_text.h"

#include <locale.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace vorla {
namespace {

char gDecimal = '.';

locale_t CLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return loc;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

Failure BadNumber() {
    return Failure{kBadNumberMessage};
}

// A plain number: spaces, sign, digits, separator and digits, exponent, spaces.
Result<long double> ConvertPlain(std::string_view t) {
    size_t i = 0, n = t.size();
    while (i < n && t[i] == ' ') ++i;
    size_t end = n;
    while (end > i && t[end - 1] == ' ') --end;
    std::string c;  // the number in C syntax for strtold
    if (i < end && (t[i] == '+' || t[i] == '-')) c += t[i++];
    bool mantissa = false;
    while (i < end && IsDigit(t[i])) {
        c += t[i++];
        mantissa = true;
    }
    if (i < end && t[i] == gDecimal) {
        ++i;
        mantissa = true;
        c += '.';
        while (i < end && IsDigit(t[i])) c += t[i++];
    }
    if (!mantissa) return BadNumber();
    if (c == "." || c == "+." || c == "-.") c.insert(c.size() - 1, "0");
    if (i < end && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        std::string e = "e";
        if (i < end && (t[i] == '+' || t[i] == '-')) e += t[i++];
        bool digits = false;
        while (i < end && IsDigit(t[i])) {
            e += t[i++];
            digits = true;
        }
        if (digits) c += e;  // "1e" reads as 1
    }
    if (i != end) return BadNumber();
    const long double v = strtold_l(c.c_str(), nullptr, CLocale());
    if (!std::isfinite(v)) return BadNumber();
    return v;
}

}  // namespace

char DecimalChar() {
    return gDecimal;
}
char ForeignDecimalChar() {
    return gDecimal == '.' ? ',' : '.';
}

void SetDecimalChar(char c) {
    gDecimal = (c == ',') ? ',' : '.';
}

void InitDecimalChar() {
    const lconv* lc = std::localeconv();
    SetDecimalChar(lc && lc->decimal_point && lc->decimal_point[0] ? lc->decimal_point[0] : '.');
}

Result<long double> ConvertNumberText(std::string_view text) {
    std::string t(text);
    const char foreign = ForeignDecimalChar();
    for (char& ch : t)
        if (ch == foreign) ch = gDecimal;
    const size_t slash = t.find('/');
    if (slash == std::string::npos) return ConvertPlain(t);
    const Result<long double> num = ConvertPlain(std::string_view(t).substr(0, slash));
    if (!num) return num;
    const Result<long double> den = ConvertPlain(std::string_view(t).substr(slash + 1));
    if (!den) return den;
    // A zero denominator is a bad entry like any other, not a fault.
    if (den.Value() == 0) return BadNumber();
    const long double v = num.Value() / den.Value();
    if (!std::isfinite(v)) return BadNumber();
    return v;
}

bool PassesRange(long double value, RangeCheck check) {
    switch (check) {
        case RangeCheck::Positive:
            return value > 0;
        case RangeCheck::NonNegative:
            return value >= 0;
        case RangeCheck::None:
            break;
    }
    return true;
}

Result<long double> ReadEditNumber(BadNumberReporter& reporter, const std::string& field,
                                   std::string_view text, RangeCheck check) {
    Result<long double> v = ConvertNumberText(text);
    if (v && !PassesRange(v.Value(), check)) v = BadNumber();
    if (!v) reporter.ReportBadNumber(field);
    return v;
}

Result<long double> TextToNumber(std::string_view text, RangeCheck check) {
    Result<long double> v = ConvertNumberText(text.empty() ? std::string_view("0") : text);
    if (v && !PassesRange(v.Value(), check)) v = BadNumber();
    return v;
}

long double TextToNumberDef(std::string_view text, RangeCheck check, long double def) {
    return TextToNumber(text, check).ValueOr(def);
}

std::string GeneralText(long double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (value == 0) return "0";
    char buf[64];
    // d.dddddddddddddde+X: 15 significant digits, correctly rounded.
    std::snprintf(buf, sizeof buf, "%.14Le", value);
    std::string s(buf);
    const bool negative = s[0] == '-';
    if (negative) s.erase(0, 1);
    const size_t epos = s.find('e');
    const int exp10 = std::atoi(s.c_str() + epos + 1);
    std::string digits = s.substr(0, 1) + s.substr(2, epos - 2);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int E = exp10 + 1;  // value = 0.d1d2... * 10^E
    std::string out = negative ? "-" : "";
    if (E >= -3 && E <= 15) {
        if (E <= 0) {
            out += '0';
            out += gDecimal;
            out.append(static_cast<size_t>(-E), '0');
            out += digits;
        } else {
            std::string ip = digits.substr(0, std::min<size_t>(digits.size(), E));
            ip.append(static_cast<size_t>(E) - ip.size(), '0');
            out += ip;
            if (digits.size() > static_cast<size_t>(E)) {
                out += gDecimal;
                out += digits.substr(E);
            }
        }
    } else {
        out += digits[0];
        if (digits.size() > 1) {
            out += gDecimal;
            out += digits.substr(1);
        }
        out += 'E';
        out += std::to_string(E - 1);
    }
    return out;
}

std::string FormatDigits(int n, long double value) {
    if (value == 0) return "0";
    if (n < 1 || n > 8) return " nelze";
    const std::string g = GeneralText(value);
    const size_t epos = g.find('E');
    const std::string mantissaText = epos == std::string::npos ? g : g.substr(0, epos);
    const std::string exponentText = epos == std::string::npos ? "" : g.substr(epos);
    const Result<long double> mantissa = ConvertNumberText(mantissaText);
    if (!mantissa || mantissa.Value() == 0) return g;  // NAN, INF: nothing to round
    long double m = mantissa.Value();
    const long double s = m < 0 ? -1 : 1;
    m = std::fabs(m);
    int k = 0;
    while (m < 1) {
        m *= 10;
        ++k;
    }
    while (m > 10) {
        m /= 10;
        --k;
    }
    for (int i = 0; i < n - 1; ++i) {
        m *= 10;
        ++k;
    }
    m = std::rint(m);
    if (k > 0)
        for (int i = 0; i < k; ++i) m /= 10;
    else
        for (int i = 0; i < -k; ++i) m *= 10;
    return GeneralText(s * m) + exponentText;
}

}  // namespace vorla
