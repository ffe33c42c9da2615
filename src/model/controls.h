// The parameter controls of the window: their names, kinds, defaults and ranges, and the
// interface through which the core reads and writes them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "base/status.h"
#include "colour/palette.h"
#include "plane/number_text.h"

namespace vorla {

enum class ControlKind { Edit, Spin, Check, ColourLabel };

struct ControlSpec {
    const char* name;
    ControlKind kind;
    const char* defaultText;  // edit text, spin value, "1"/"0" for a check box
    int min = 0, max = 0;     // spin range
    int tag = 0;
    Colour colour = 0;  // default colour of a label
};

const std::vector<ControlSpec>& ControlTable();
const ControlSpec* FindControl(const std::string& name);

// What the core reads of the controls; the window implements it over its widgets.
class Controls : public BadNumberReporter {
  public:
    virtual std::string Text(const std::string& name) const = 0;
    virtual void SetText(const std::string& name, const std::string& text) = 0;
    virtual bool Checked(const std::string& name) const = 0;
    virtual Colour LabelColour(const std::string& name) const = 0;
    virtual void SetLabelColour(const std::string& name, Colour c) = 0;
    virtual void Focus(const std::string& name) = 0;

    // A spin edit's value, brought into its range (a text that is no integer gives the
    // nearest end of the range for a sign, else the minimum).
    int Spin(const std::string& name) const;
};

// Controls held as plain values: the headless renderer's and the tests' window.
class ControlValues : public Controls {
  public:
    ControlValues();  // every control at its default

    std::string Text(const std::string& name) const override;
    void SetText(const std::string& name, const std::string& text) override;
    bool Checked(const std::string& name) const override;
    Colour LabelColour(const std::string& name) const override;
    void SetLabelColour(const std::string& name, Colour c) override;
    void Focus(const std::string& name) override { focused = name; }
    void ReportBadNumber(const std::string& field) override {
        badNumberReports.push_back(field);
        focused = field;
    }

    // Sets a control from a text as a user would give it; a refusal carries the reason.
    Status Set(const std::string& name, const std::string& text);

    std::string focused;
    std::vector<std::string> badNumberReports;

  private:
    std::map<std::string, std::string> texts_;
    std::map<std::string, Colour> colours_;
};

}  // namespace vorla
