// Scene files and pictures rendered at any size. A scene file holds every control, so that a
// new control is kept without code here. "Render at size" draws with a session of its own over
// a copy of the controls, on a thread of its own, exactly as the renderer does: the window's
// session is not touched and the GUI thread only shows the progress.
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QMetaObject>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <functional>
#include <string>

#include "app/scene_render.h"
#include "pictures/kinds.h"
#include "plane/image_file.h"
#include "ui/tabula_view.h"
#include "ui/vorla_form.h"

namespace vorla {
namespace {}  // namespace

SceneState TVorlaForm::CurrentScene() const {
    SceneState s{ControlValues(static_cast<const Controls&>(*this)), session_->taskType(),
                 session_->PictureKind(), session_->tabula().Width(), session_->tabula().Height()};
    return s;
}

QSettings Settings() {
    return QSettings("vorla", "vorla");
}

void TVorlaForm::SaveScene1Click() {
    const auto chosen = AskSaveFile("SceneDialog", {"Vorla scene (*.json)"}, {"json"}, 0);
    if (!chosen) return;
    const QString& path = chosen->first;
    if (const Status saved = WriteSceneFile(CurrentScene(), path.toStdString()); !saved)
        return ReportError(
            Local("Cannot create file \"" + path.toStdString() + "\". " + saved.Message()));
    SceneFileUsed(path);
}

void TVorlaForm::OpenScene1Click() {
    const QString path = QFileDialog::getOpenFileName(this, "Open scene", QString(),
                                                      "Vorla scene (*.json);;All files (*)");
    if (!path.isEmpty()) OpenSceneFile(path);
}

void TVorlaForm::OpenSceneFile(const QString& path) {
    std::vector<std::string> warnings;
    const Result<SceneState> read = ReadSceneFile(path.toStdString(), &warnings);
    if (!read) {
        ReportError(Local("The scene was not opened: " + read.Message()));
        return;
    }
    SceneFileUsed(path);
    const SceneState scene = read.Value();
    // The tabula takes the scene's size where the screen can show it: the window grows or
    // shrinks by the difference. The scene is put in place once the resize has come.
    const QSize want(scene.width, scene.height), have = tabule_->size();
    bool resized = false;
    if (scene.width > 0 && scene.height > 0 && want != have) {
        const QSize window = size() + (want - have);
        const QRect room = screen() ? screen()->availableGeometry() : QRect();
        if (room.isValid() && window.width() <= room.width() && window.height() <= room.height() &&
            window.expandedTo(minimumSize()) == window &&
            window.boundedTo(maximumSize()) == window) {
            resize(window);
            resized = true;
        }
    }
    const auto apply = [this, scene] { RunCommand([this, scene] { ApplyScene(scene); }, true); };
    if (resized)
        QTimer::singleShot(0, this, apply);
    else
        apply();
    QStringList lines;
    for (const std::string& w : warnings) lines << Local(w);
    if (!lines.isEmpty()) QMessageBox::warning(this, "Vorla", lines.join("\n"));
}

void TVorlaForm::SceneFileUsed(const QString& path) {
    const QString file = QFileInfo(path).absoluteFilePath();
    QStringList recent = Settings().value(kRecentKey).toStringList();
    recent.removeAll(file);
    recent.prepend(file);
    while (recent.size() > kRecentScenes) recent.removeLast();
    Settings().setValue(kRecentKey, recent);
    ShowRecentScenes();
    setWindowTitle(QFileInfo(path).fileName() + "  -  " + kCaption);
}

void TVorlaForm::ShowRecentScenes() {
    recentScenes_->clear();
    const QStringList recent = Settings().value(kRecentKey).toStringList();
    for (int i = 0; i < recent.size() && i < kRecentScenes; ++i) {
        const QString path = recent[i];
        QAction* a = recentScenes_->addAction(QString("&%1  %2").arg((i + 1) % 10).arg(path));
        a->setObjectName(QString("RecentScene%1").arg(i + 1));
        connect(a, &QAction::triggered, this, [this, path] { OpenSceneFile(path); });
    }
    recentScenes_->setEnabled(!recent.isEmpty());
}

void TVorlaForm::ApplyScene(const SceneState& s) {
    // As if the user had typed every field, clicked every label and chosen the task type.
    session_->ApplyScene(s);
    const int w = session_->tabula().Width(), h = session_->tabula().Height();
    if (s.width > 0 && s.height > 0 && (s.width != w || s.height != h))
        SetStatus(StatusPanel::Message, "The scene's tabula is " + std::to_string(s.width) + "x" +
                                            std::to_string(s.height) + "; the screen takes it at " +
                                            std::to_string(w) + "x" + std::to_string(h) + ".");
    if (const Status recalc = session_->ButPrepocetClick(); !recalc) {
        Report(recalc);
        return;
    }
    // The picture of the scene, as it was when saved.
    if (s.pictureKind != PictureTag::None && s.taskType != TaskType::None)
        ActionClick(s.pictureKind);
}

std::optional<QSize> TypedPictureSize(const QString& typed) {
    static const QRegularExpression kSize(R"(^\s*(\d{1,9})\s*[xX*×]\s*(\d{1,9})\s*$)");
    const QRegularExpressionMatch m = kSize.match(typed);
    const int width = m.hasMatch() ? m.captured(1).toInt() : 0;
    const int height = m.hasMatch() ? m.captured(2).toInt() : 0;
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide)
        return std::nullopt;
    return QSize(width, height);
}

std::optional<std::pair<SceneState, QSize>> TVorlaForm::AskRenderSize(const QString& command,
                                                                      const QString& verb,
                                                                      const QString& example) {
    if (renderRunning()) {
        ReportError("A picture is being rendered already: wait for it, or cancel it.");
        return std::nullopt;
    }
    const SceneState scene = CurrentScene();
    if (scene.pictureKind == PictureTag::None || scene.taskType == TaskType::None) {
        ReportError("Draw a picture first: \"" + command + "\" " + verb +
                    " the last picture drawn.");
        return std::nullopt;
    }
    if (renderSize_.isEmpty())
        renderSize_ = QString("%1x%2").arg(scene.width * 2).arg(scene.height * 2);
    bool ok = false;
    const QString typed = QInputDialog::getText(
        this, command, "Width x height in pixels:", QLineEdit::Normal, renderSize_, &ok);
    if (!ok) return std::nullopt;
    const std::optional<QSize> size = TypedPictureSize(typed);
    if (!size) {
        ReportError("Type the size as WIDTHxHEIGHT, each side from 1 to " +
                    QString::number(kMaxPictureSide) + ", for example " + example + ", not \"" +
                    typed + "\".");
        return std::nullopt;
    }
    renderSize_ = typed.trimmed();
    return std::pair{scene, *size};
}

void TVorlaForm::RenderAtSize1Click() {
    const auto asked = AskRenderSize("Render at size", "renders", "3840x2160");
    if (!asked) return;
    const auto& [scene, size] = *asked;
    const int width = size.width(), height = size.height();
    const auto chosen = AskPictureFile("RenderDialog");
    if (!chosen) return;
    const QString path = chosen->first;
    const PictureFiles files{path.toStdString(), chosen->second, {}};
    // A streamed picture needs the memory of its bands; a BMP file the whole picture.
    const bool streamed = StreamsInBands(scene.pictureKind, files.format);
    if (const Status fits = CheckRenderMemory(width, streamed ? kStreamRows : height); !fits) {
        ReportError(Local(fits.Message() + (std::string(files.format) == "BMP"
                                                ? " A BMP file needs the whole picture in "
                                                  "memory; a PNG file only a band of it."
                                                : "")));
        return;
    }

    QProgressDialog* progress = ShowJobProgress(
        "RenderProgress", QString("Rendering %1x%2 into %3").arg(width).arg(height).arg(path),
        height + 1);

    RenderSettings settings;
    settings.width = width;
    settings.height = height;
    PictureRunner::Events events;
    renderClock_.start();
    const QString caption = progress->labelText();
    events.band = [this, caption, height](int row, bool) {
        if (!renderProgress_) return false;
        renderProgress_->setValue(row);
        renderProgress_->setLabelText(
            caption + "\n" +
            QString::fromStdString(
                ProgressText(row, height, static_cast<double>(renderClock_.elapsed()) / 1000)));
        return false;
    };
    const JobTexts texts{
        "RENDERING CANCELLED",
        QString("Cannot render %1x%2 into \"%3\".").arg(width).arg(height).arg(path),
        QString("Rendered %1x%2").arg(width).arg(height)};
    events.done = [this, texts](const Status& status, bool cancelled) {
        JobEnded(cancelled ? Status(Failure{kCancelled}) : status, texts);
    };
    const Status started = renders_.Start(
        [scene, settings, files](PictureRunner::Job& job) -> Status {
            JobHost host(job);
            Status drawn;
            std::string step;
            const Status saved =
                RenderToFiles(scene, settings, files, host, job.Cancel(), drawn, step);
            if (!saved) return Failure{step + ": " + saved.Message()};
            return drawn;
        },
        std::move(events));
    if (!started) JobEnded(started, texts);
}

QProgressDialog* TVorlaForm::ShowJobProgress(const char* name, const QString& label, int maximum) {
    auto* progress = new QProgressDialog(label, "Cancel", 0, maximum, this);
    progress->setObjectName(name);
    progress->setWindowModality(Qt::NonModal);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    progress->setMinimumDuration(0);
    connect(progress, &QProgressDialog::canceled, this, [this] { renders_.Cancel(); });
    progress->show();
    renderProgress_ = progress;
    return progress;
}

void TVorlaForm::JobEnded(const Status& status, const JobTexts& texts) {
    delete renderProgress_;
    if (status.Message() == kCancelled) {
        Panel(StatusPanel::Message)->setText(texts.cancelled);
        timer1_.start();
    } else if (!status) {
        ReportError(texts.failed + " " + Local(status.Message()));
    } else {
        Panel(StatusPanel::Message)->setText(texts.done);
        timer1_.start();
    }
    if (closePending_) CloseWhenIdle();
}

}  // namespace vorla
