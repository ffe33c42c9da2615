// A headless session for picture tests: plain control values and a host that records.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/session.h"
#include "model/controls.h"
#include "pictures/kinds.h"

namespace vorla::testing {

struct RecordingHost : Host {
    std::vector<int> polls;
    std::string status[8];
    std::function<void(int)> onPoll;  // runs "nested" commands at a poll
    bool Poll(int row) override {
        polls.push_back(row);
        if (onPoll) onPoll(row);
        return false;
    }
    void SetStatus(int panel, const std::string& text) override {
        if (panel >= 0 && panel < 8) status[panel] = text;
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
        session.fixedSeed = true;
        session.seed = 12345;
    }
    // Runs picture `tag` and returns the tabula's pixels and the grid.
    void Run(int tag) {
        host.polls.clear();
        session.ActionClick(tag);
    }
    std::vector<std::uint32_t> Pixels() const {
        std::vector<std::uint32_t> p;
        for (int r = 0; r < session.tabula.Height(); ++r)
            for (int c = 0; c < session.tabula.Width(); ++c)
                p.push_back(session.tabula.Pixel(c, r));
        return p;
    }
};

// Runs `tag` with 1 thread and with `threads`, from the same state; both must agree exactly.
inline void ExpectSameForThreadCounts(int tag, int example, std::initializer_list<int> threads,
                                      int w = 48, int h = 40) {
    PictureFixture one(w, h, example, 1);
    one.Run(tag);
    for (int t : threads) {
        PictureFixture many(w, h, example, t);
        many.Run(tag);
        EXPECT_EQ(many.Pixels(), one.Pixels()) << "tag " << tag << ", " << t << " threads";
        EXPECT_EQ(many.session.grid.Cells(), one.session.grid.Cells())
            << "tag " << tag << ", " << t << " threads";
    }
}

}  // namespace vorla::testing
