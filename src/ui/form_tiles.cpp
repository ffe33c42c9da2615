// Picture > Export deep zoom: the last picture of the current scene at a size typed as for
// "Render at size", drawn with a session of its own on the runner of "Render at size" (one
// job beside the window at a time) and cut into the tiles and page of a deep-zoom folder, as
// `vorla-render --tiles` writes it; a progress dialog shows the drawing, then the cutting, and
// its Cancel leaves no folder.
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <algorithm>
#include <atomic>
#include <memory>

#include "app/deep_zoom.h"
#include "pictures/kinds.h"
#include "ui/vorla_form.h"

namespace vorla {
namespace {

// Where an export is, shared by its job and the window: the rows drawn, then the tiles'
// percent (from libvips' threads).
struct ExportProgress {
    std::atomic<int> rows{0};
    std::atomic<int> tiles{-1};  // -1 while the picture is drawn
};

// The host of the export's picture: its polls are the job's hand-overs, which report.
class ExportHost : public Host {
  public:
    ExportHost(PictureRunner::Job& job, ExportProgress& progress)
        : job_(job), progress_(progress) {}
    bool Poll(int row) override {
        progress_.rows = row;
        return job_.Band(row);
    }

  private:
    PictureRunner::Job& job_;
    ExportProgress& progress_;
};

// The save dialog of a folder: a name typed (or the folder shown, when none is) is the
// folder, whether it exists or not, where a file dialog would go into an existing one.
class FolderDialog : public QFileDialog {
  public:
    using QFileDialog::QFileDialog;
    void accept() override {
        const QStringList chosen = selectedFiles();
        if (!chosen.isEmpty() && QFileInfo(chosen.first()).isDir())
            QDialog::accept();
        else
            QFileDialog::accept();
    }
};

}  // namespace

void TVorlaForm::ExportDeepZoom1Click() {
    const auto asked = AskRenderSize("Export deep zoom", "exports", "20000x15000");
    if (!asked) return;
    const auto& [scene, size] = *asked;
    const int width = size.width(), height = size.height();

    FolderDialog dialog(this, "Export deep zoom: the folder to make (or a folder to replace)");
    dialog.setObjectName("TilesDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setOption(QFileDialog::DontUseNativeDialog);  // a native one would go into folders
    dialog.setNameFilter("Deep-zoom folder (*)");
    dialog.setLabelText(QFileDialog::FileName, "Folder:");
    dialog.setLabelText(QFileDialog::Accept, "Export");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString dir = dialog.selectedFiles().first();
    if (dir.isEmpty()) return;
    if (const Status may = CheckTileFolder(dir.toStdString()); !may)
        return ReportError(Local(may.Message()));
    const Result<std::string> viewer = FindViewerFolder();
    if (!viewer) return ReportError(Local("Cannot export: " + viewer.Message()));
    // A picture in bands needs the memory of a band; the rectangle iterations the whole.
    const bool streamed = StreamsInBands(scene.pictureKind, "PNG");
    if (const Status fits = CheckRenderMemory(width, streamed ? kStreamRows : height); !fits)
        return ReportError(Local(fits.Message()));

    ShowJobProgress("ExportProgress",
                    QString("Exporting %1x%2 into %3").arg(width).arg(height).arg(dir), 100);

    RenderSettings settings;
    settings.width = width;
    settings.height = height;
    const auto shared = std::make_shared<ExportProgress>();
    const auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    const auto tilesClock = std::make_shared<QElapsedTimer>();
    PictureRunner::Events events;
    // The bar shows the picture, then the tiles, each with its time left.
    events.band = [this, shared, clock, tilesClock, height, dir](int, bool) {
        if (!renderProgress_) return false;
        const int tiles = shared->tiles;
        QString what;
        if (tiles < 0) {
            const int rows = std::clamp(shared->rows.load(), 0, height);
            renderProgress_->setValue(static_cast<int>(100LL * rows / height));
            what = "Drawing the picture: " +
                   Local(ProgressText(rows, height, clock->elapsed() / 1000.0));
        } else {
            if (!tilesClock->isValid()) tilesClock->start();
            renderProgress_->setValue(std::clamp(tiles, 0, 100));
            what = "Cutting the tiles: " +
                   Local(ProgressText(tiles, 100, tilesClock->elapsed() / 1000.0));
        }
        renderProgress_->setLabelText("Exporting into " + dir + "\n" + what);
        return false;
    };
    const JobTexts texts{
        "EXPORT CANCELLED",
        QString("Cannot export %1x%2 into \"%3\".").arg(width).arg(height).arg(dir),
        QString("Exported %1x%2: open %3")
            .arg(width)
            .arg(height)
            .arg(QDir(dir).filePath(kTilePageFile))};
    events.done = [this, texts](const Status& status, bool cancelled) {
        JobEnded(cancelled ? Status(Failure{kCancelled}) : status, texts);
    };
    const TileFolder folder{dir.toStdString(), viewer.Value(), {}};
    const Status started = renders_.Start(
        [scene, settings, folder, shared](PictureRunner::Job& job) -> Status {
            ExportHost host(job, *shared);
            Status drawn;
            std::string step;
            const Status saved = RenderToTiles(
                scene, settings, folder, host, job.Cancel(),
                [&job, shared](int percent) {
                    shared->tiles = percent;
                    job.Band(0);
                },
                drawn, step);
            if (!saved) return Failure{step + ": " + saved.Message()};
            return drawn;
        },
        std::move(events));
    if (!started) JobEnded(started, texts);
}

}  // namespace vorla
