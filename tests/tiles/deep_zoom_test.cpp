// The view file of a deep-zoom folder against the picture: its numbers are the axes that draw
// the pixels, exactly.
#include "app/deep_zoom.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "pictures/kinds.h"

namespace {

using namespace vorla;

// Rows that go nowhere: only the axes that drew them are looked at.
class NoSink : public RowSink {
  public:
    Status Row(int, const std::uint32_t*, const std::int32_t*) override { return {}; }
};

long double Read(const QJsonValue& v) {
    return std::strtold(v.toString().toStdString().c_str(), nullptr);
}

// Every example at a small, a poster's and a tiny size: the last row is drawn, then the axes
// that drew it are those the view file gives, as significand x 2^exponent and as its text.
TEST(DeepZoomView, ItsNumbersAreTheAxesThatDrawThePixels) {
    for (int example = 1; example <= 14; ++example)
        for (const auto& [w, h] : {std::pair{600, 400}, {20000, 15000}, {3, 2}}) {
            SceneState scene = ExampleScene(example);
            scene.pictureKind = PictureTag::Nth;
            RenderSettings settings;
            settings.width = w;
            settings.height = h;
            settings.bandRows = kStreamRows;
            Host host;
            SceneRender render(scene, host, settings);
            ASSERT_TRUE(render.Prepare());
            NoSink sink;
            ASSERT_TRUE(render.DrawRows(sink, h - 1, h - 1));
            const TAxisB& axes = render.session.view().axes;
            const Result<TilePage> page = MakeTilePage(scene, settings);
            ASSERT_TRUE(page) << page.Message();
            const QJsonObject view =
                QJsonDocument::fromJson(QByteArray::fromStdString(page->view)).object();
            for (const auto& [key, value] : {std::pair{"xMin", axes.XMin},
                                             {"xStep", axes.XStep},
                                             {"yMax", axes.YMax},
                                             {"yStep", axes.YStep}}) {
                const QJsonObject n = view[key].toObject();
                EXPECT_EQ(std::ldexp(Read(n["significand"]), n["exponent"].toInt()), value)
                    << example << " " << w << "x" << h << " " << key;
                EXPECT_EQ(Read(n["text"]), value) << example << " " << w << "x" << h << " " << key;
            }
        }
}

}  // namespace
