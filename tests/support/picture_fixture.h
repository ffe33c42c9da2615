// Headless fixtures: a session over plain control values with a host that records, and a
// canvas for the overlays.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/session.h"
#include "model/controls.h"
#include "pictures/kinds.h"

namespace vorla::testing {

// Sets controls from "name=text name=text ..." as a user gives them; a refused text fails.
inline void Apply(ControlValues& controls, const std::string& settings) {
    std::istringstream in(settings);
    for (std::string item; in >> item;) {
        const auto eq = item.find('=');
        const Status set = controls.Set(item.substr(0, eq), item.substr(eq + 1));
        EXPECT_TRUE(set) << set.Message();
    }
}

inline std::vector<Colour> PixelsOf(const Tabula& t) {
    std::vector<Colour> out;
    for (int r = 0; r < t.Height(); ++r)
        for (int c = 0; c < t.Width(); ++c) out.push_back(t.Pixel(c, r));
    return out;
}

struct RecordingHost : Host {
    std::vector<int> polls;
    std::string status[kStatusPanels];
    std::function<void(int)> onPoll;  // runs "nested" commands at a poll
    bool Poll(int row) override {
        polls.push_back(row);
        if (onPoll) onPoll(row);
        return false;
    }
    void SetStatus(StatusPanel panel, const std::string& text) override {
        status[static_cast<int>(panel)] = text;
    }
};

// A session of the given tabula size with an example loaded (0: none, task type -1).
struct PictureFixture {
    ControlValues controls;
    RecordingHost host;
    Session session;
    explicit PictureFixture(int w = 48, int h = 40, int example = 3, int threads = 1)
        : session(controls, host, w, h, threads) {
        session.FormCreate();
        EXPECT_TRUE(session.FormResize(w, h));
        session.FormActivate();
        if (example) session.LoadExample(example);
        session.SetSeed(12345);
    }
    void Set(const std::string& settings) { Apply(controls, settings); }
    // Paints the whole tabula in one colour, as a restored picture would show it.
    void Paint(Colour colour) {
        QImage image = session.tabula().Copy();
        image.fill(QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)));
        session.RestorePicture(image);
    }
    void Run(int tag) {
        host.polls.clear();
        EXPECT_TRUE(session.ActionClick(tag).Ok());
    }
    std::vector<Colour> Pixels() const { return PixelsOf(session.tabula()); }
};

// The circles of the fields' start values.
inline CircleSet StartCircles() {
    CircleSet k{3, 2.5L, 1, 1, 1, 2, 3, 2, 3, 2, 2.5L};
    k.UpdateSquares();
    return k;
}

// A white tabula of w x h pixels over the axes `range`, the start circles, and circle
// colours black, red, green, blue and maroon.
struct Canvas {
    Tabula t;
    Viewport v;
    Palette p;
    Scene scene;
    Canvas(int w, int h, AxesRange range = {}) : t(w, h) {
        v.W = w;
        v.H = h;
        v.range = range;
        scene.k = StartCircles();
        v.PrepocetPodleSouradnic(CircleDiscs(scene.k));
        p.CircleColors = {kBlack, kRed, Rgb(0, 128, 0), Rgb(0, 0, 255), Rgb(128, 0, 0)};
    }
    std::vector<Colour> Pixels() const { return PixelsOf(t); }
    // The colours within `reach` pixels of (c, r), or of the whole tabula.
    std::set<Colour> Colours(int c = 0, int r = 0, int reach = 1 << 20) const {
        std::set<Colour> s;
        for (int y = std::max(0, r - reach); y <= r + reach && y < t.Height(); ++y)
            for (int x = std::max(0, c - reach); x <= c + reach && x < t.Width(); ++x)
                s.insert(t.Pixel(x, y));
        return s;
    }
    int NonWhite() const {
        int n = 0;
        for (Colour c : Pixels()) n += c != kWhite;
        return n;
    }
};

// A colour that no picture computes: a pixel still showing it was left as it was.
inline constexpr Colour kUnpainted = Rgb(1, 2, 3);

}  // namespace vorla::testing
