// The plane point the renderer draws a pixel from, for the browser test of the deep-zoom page:
// the example's picture is set up as the renderer sets it up and the pixel's row is drawn, then
// the axes that drew it give the point, printed with printf's "%.*Lf".
//   pixel_point EXAMPLE KIND WIDTH HEIGHT COLUMN ROW DECIMALS
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/scene_render.h"
#include "pictures/kinds.h"

namespace {

// Rows that go nowhere: only the axes that drew them are wanted.
class NoSink : public vorla::RowSink {
  public:
    vorla::Status Row(int, const std::uint32_t*, const std::int32_t*) override { return {}; }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 8) {
        std::fprintf(stderr, "usage: pixel_point EXAMPLE KIND WIDTH HEIGHT COLUMN ROW DECIMALS\n");
        return 2;
    }
    const vorla::PictureKindInfo* kind = vorla::FindPictureKind(std::string(argv[2]));
    if (!kind) return 2;
    vorla::SceneState scene = vorla::ExampleScene(std::atoi(argv[1]));
    scene.pictureKind = kind->tag;
    vorla::RenderSettings settings;
    settings.width = std::atoi(argv[3]);
    settings.height = std::atoi(argv[4]);
    settings.bandRows = vorla::kStreamRows;
    const int column = std::atoi(argv[5]), row = std::atoi(argv[6]), decimals = std::atoi(argv[7]);
    vorla::Host host;
    vorla::SceneRender render(scene, host, settings);
    NoSink sink;
    if (!render.Prepare() || !render.DrawRows(sink, row, row)) return 1;
    const vorla::TAxisB& axes = render.session.view().axes;
    std::printf("%.*Lf %.*Lf\n", decimals, axes.XOfColumn(column), decimals, axes.YOfRow(row));
    return 0;
}
