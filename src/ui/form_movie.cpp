// Picture > Make movie: a flight from the current scene to a scene file, or to the view before
// the current one in the history (a zoom flight), drawn by the core's interpolation and movie
// writer as the renderer draws it, on the runner of "Render at size": beside the window, with a
// progress bar and Cancel. The dialog draws the first and last frame small before the movie
// starts, on a runner of its own, so that it never holds the window.
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPixmap>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <array>
#include <atomic>
#include <memory>
#include <optional>

#include "app/keyframes.h"
#include "app/movie.h"
#include "app/picture_runner.h"
#include "app/scene_render.h"
#include "app/view_moves.h"
#include "pictures/kinds.h"
#include "ui/vorla_form.h"

namespace vorla {
namespace {

// What the dialog was given last, offered again when it opens.
struct MovieChoice {
    bool toFile = false;  // to a scene file, else to the previous view
    QString sceneFile;
    int frames = 90;
    QString size;  // "WxH"; empty: the tabula's, with even sides
    int fps = 30;
    bool smooth = false;
    QString file;
};

MovieChoice& LastChoice() {
    static MovieChoice choice;
    return choice;
}

// Where a movie drawn by a job is: the frames done and the row of the one being drawn, read by
// the window at the job's bands.
struct MovieState {
    std::atomic<int> done{0}, row{0};
};

class MovieJobHost : public MovieHost {
  public:
    MovieJobHost(PictureRunner::Job& job, MovieState& state) : job_(job), state_(state) {}
    bool Poll(int row) override {
        state_.row = row;
        return job_.Band(row);
    }
    void FrameBegins(int, int done, int) override {
        state_.done = done;
        state_.row = 0;
        (void)job_.Band(0);  // the progress shown; a cancel reaches the picture's own flag
    }

  private:
    PictureRunner::Job& job_;
    MovieState& state_;
};

// The dialog: where the flight goes, its frames, size, rate and file, and its first and last
// frame drawn small. It plans the flight as the fields change and is accepted only with a
// flight that can be drawn.
class MovieDialog : public QDialog {
  public:
    MovieDialog(QWidget* parent, SceneState current, std::optional<AxesTexts> previous)
        : QDialog(parent), current_(std::move(current)), previous_(std::move(previous)) {
        setObjectName("MovieDialog");
        setWindowTitle("Make movie");
        const MovieChoice& last = LastChoice();
        target_ = Named(new QComboBox, "MovieTarget");
        if (previous_) target_->addItem("the previous view (a zoom flight)", false);
        target_->addItem("a scene file", true);
        target_->setCurrentIndex(std::max(0, target_->findData(last.toFile || !previous_)));
        sceneFile_ = Named(new QLineEdit(last.sceneFile), "MovieScene");
        auto* browseScene = Named(new QPushButton("Browse…"), "MovieSceneBrowse");
        frames_ = Named(new QSpinBox, "MovieFrames");
        frames_->setRange(2, kMaxMovieFrames);
        frames_->setValue(last.frames);
        const QString tabula = QString("%1x%2")
                                   .arg(std::max(2, current_.width & ~1))
                                   .arg(std::max(2, current_.height & ~1));
        size_ = Named(new QLineEdit(last.size.isEmpty() ? tabula : last.size), "MovieSize");
        fps_ = Named(new QSpinBox, "MovieFps");
        fps_->setRange(1, 1000);
        fps_->setValue(last.fps);
        ease_ = Named(new QComboBox, "MovieEase");
        ease_->addItems({"linear", "smooth (easing in and out)"});
        ease_->setCurrentIndex(last.smooth ? 1 : 0);
        file_ = Named(new QLineEdit(last.file), "MovieFile");
        file_->setPlaceholderText(".mp4, .webm or .gif; another name: a folder of frames");
        auto* browseFile = Named(new QPushButton("Browse…"), "MovieFileBrowse");
        first_ = Named(new QLabel, "MovieFirst");
        last_ = Named(new QLabel, "MovieLast");
        for (QLabel* l : {first_, last_}) {
            l->setFixedSize(kThumb, kThumbHeight);
            l->setAlignment(Qt::AlignCenter);
            l->setFrameShape(QFrame::StyledPanel);
        }
        note_ = Named(new QLabel, "MovieNote");
        note_->setWordWrap(true);
        buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        buttons_->button(QDialogButtonBox::Ok)->setText("Make movie");

        auto* form = new QFormLayout;
        form->addRow("To", target_);
        form->addRow("Scene file", Row(sceneFile_, browseScene));
        form->addRow("Frames", frames_);
        form->addRow("Size", size_);
        form->addRow("Frames a second", fps_);
        form->addRow("Ease", ease_);
        form->addRow("File", Row(file_, browseFile));
        auto* frames = new QHBoxLayout;
        for (auto [label, caption] : {std::pair{first_, "First frame"}, {last_, "Last frame"}}) {
            auto* column = new QVBoxLayout;
            column->addWidget(new QLabel(caption));
            column->addWidget(label);
            frames->addLayout(column);
        }
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(form);
        layout->addLayout(frames);
        layout->addWidget(note_);
        layout->addWidget(buttons_);

        replan_.setSingleShot(true);
        replan_.setInterval(250);
        connect(&replan_, &QTimer::timeout, this, [this] { Plan(); });
        for (QLineEdit* e : {sceneFile_, size_})
            connect(e, &QLineEdit::textChanged, this, [this] { Changed(); });
        for (QComboBox* c : {target_, ease_})
            connect(c, &QComboBox::currentIndexChanged, this, [this] { Changed(); });
        connect(frames_, &QSpinBox::valueChanged, this, [this] { Changed(); });
        connect(browseScene, &QPushButton::clicked, this, [this] {
            const QString path =
                QFileDialog::getOpenFileName(this, "Fly to the scene", sceneFile_->text(),
                                             "Vorla scene (*.json);;All files (*)");
            if (!path.isEmpty()) sceneFile_->setText(path);
        });
        connect(browseFile, &QPushButton::clicked, this, [this] {
            const QString path =
                QFileDialog::getSaveFileName(this, "Movie file", file_->text(),
                                             "MP4 video (*.mp4);;WebM video (*.webm);;GIF "
                                             "animation (*.gif)",
                                             nullptr, QFileDialog::DontConfirmOverwrite);
            if (!path.isEmpty()) file_->setText(path);
        });
        connect(buttons_, &QDialogButtonBox::accepted, this, [this] { Accept(); });
        connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
        Plan();
    }

    // The flight and the movie asked for, once accepted.
    std::optional<Flight> flight;
    MovieJob job;
    QString path;

  private:
    static constexpr int kThumb = 160, kThumbHeight = 120;

    template <class W>
    W* Named(W* w, const char* name) {
        w->setObjectName(name);
        return w;
    }
    static QWidget* Row(QWidget* a, QWidget* b) {
        auto* row = new QWidget;
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(a, 1);
        layout->addWidget(b);
        return row;
    }

    bool ToFile() const { return target_->currentData().toBool(); }

    void Changed() {
        planned_.reset();
        Say({});
        buttons_->button(QDialogButtonBox::Ok)->setEnabled(false);
        replan_.start();
    }

    // Plans the flight from the fields: says why it cannot be made or what it keeps of the
    // current scene, and draws its first and last frame small.
    void Plan() {
        planned_.reset();
        buttons_->button(QDialogButtonBox::Ok)->setEnabled(false);
        sceneFile_->setEnabled(ToFile());
        const std::optional<QSize> size = TypedPictureSize(size_->text());
        if (!size) return Say("Type the size as WIDTHxHEIGHT, for example 640x480.");
        SceneState target = current_;
        std::string name = "the previous view";
        if (ToFile()) {
            name = sceneFile_->text().toStdString();
            if (name.empty()) return Say("Choose the scene file to fly to.");
            std::vector<std::string> warnings;
            const Result<SceneState> read = ReadSceneFile(name, &warnings);
            if (!read) return Say(Local("The scene file was not read: " + read.Message()));
            target = read.Value();
            if (target.pictureKind == PictureTag::None) target.pictureKind = current_.pictureKind;
        } else if (previous_) {
            WriteAxesTexts(target.controls, *previous_);
        }
        const Result<Flight> f =
            PlanFlight({current_, target}, {"the current scene", name}, size->width(),
                       size->height(), ease_->currentIndex() ? Ease::Smooth : Ease::Linear);
        if (!f) return Say(Local(f.Message()));
        planned_ = f.Value();
        std::string held;
        for (const std::string& h : f->held) held += (held.empty() ? "" : "; ") + h;
        Say(held.empty() ? QString()
                         : Local("Every frame keeps the current scene's " + held + "."));
        buttons_->button(QDialogButtonBox::Ok)->setEnabled(true);
        DrawPreviews(f.Value(), size->width(), size->height());
    }

    void Say(const QString& text) { note_->setText(text); }

    // The first and last frame, drawn small on the dialog's runner: a new plan ends the
    // drawing of the last one.
    void DrawPreviews(const Flight& f, int W, int H) {
        const int tw = W >= H * 4 / 3 ? kThumb : std::max(1, kThumbHeight * W / H);
        const int th = W >= H * 4 / 3 ? std::max(1, kThumb * H / W) : kThumbHeight;
        const std::array<SceneState, 2> scenes{FlightFrame(f, 2, 0), FlightFrame(f, 2, 1)};
        first_->setText("drawing…");
        last_->setText("drawing…");
        previews_.Cancel();
        previews_.Then([this, scenes, tw, th] {
            auto images = std::make_shared<std::array<QImage, 2>>();
            PictureRunner::Events events;
            events.done = [this, images](const Status& status, bool cancelled) {
                if (cancelled) return;
                for (int i = 0; i < 2; ++i) {
                    QLabel* label = i == 0 ? first_ : last_;
                    if (status && !(*images)[i].isNull())
                        label->setPixmap(QPixmap::fromImage((*images)[i]));
                    else
                        label->setText("not drawn");
                }
                if (!status) Say(Local(status.Message()));
            };
            const Status started = previews_.Start(
                [scenes, images, tw, th](PictureRunner::Job& job) -> Status {
                    for (int i = 0; i < 2; ++i) {
                        JobHost host(job);
                        RenderSettings small;
                        small.width = tw;
                        small.height = th;
                        small.seed = 0;
                        SceneRender render(scenes[i], host, small);
                        if (Status s = render.session.pool().Started(); !s) return s;
                        if (Status s = render.Prepare(); !s) return s;
                        if (Status s = render.Draw(job.Cancel()); !s) return s;
                        if (*job.Cancel()) return {};
                        (*images)[i] = render.session.tabula().Image().copy();
                    }
                    return {};
                },
                std::move(events));
            if (!started) Say(Local(started.Message()));
        });
    }

    void Accept() {
        if (replan_.isActive()) Plan();
        if (!planned_) return;
        const std::string file = file_->text().trimmed().toStdString();
        if (file.empty()) return Say("Name the movie's file: .mp4, .webm or .gif, or a folder.");
        MovieJob asked;
        if (MovieKindOf(file) != MovieKind::Folder) {
            const Result<std::string> ffmpeg = FindFfmpeg();
            if (!ffmpeg) return Say(Local(ffmpeg.Message()));
            asked.ffmpeg = ffmpeg.Value();
        }
        const bool streamed = ComputesInBands(planned_->keys.front().pictureKind);
        if (Status fits =
                CheckRenderMemory(planned_->width, streamed ? kStreamRows : planned_->height);
            !fits)
            return Say(Local(fits.Message()));
        asked.frames = frames_->value();
        asked.last = asked.frames;
        asked.fps = fps_->value();
        // As the renderer draws a movie: one seed for every frame.
        asked.settings.seed = 0;
        job = asked;
        flight = planned_;
        path = QString::fromStdString(file);
        LastChoice() = {ToFile(),      sceneFile_->text(),         frames_->value(), size_->text(),
                        fps_->value(), ease_->currentIndex() == 1, file_->text()};
        accept();
    }

    SceneState current_;
    std::optional<AxesTexts> previous_;
    QComboBox *target_, *ease_;
    QLineEdit *sceneFile_, *size_, *file_;
    QSpinBox *frames_, *fps_;
    QLabel *first_, *last_, *note_;
    QDialogButtonBox* buttons_;
    QTimer replan_;
    std::optional<Flight> planned_;
    // Last, so that its job ends before anything it reports to goes.
    PictureRunner previews_{[this](std::function<void()> fn) {
                                QMetaObject::invokeMethod(this, std::move(fn),
                                                          Qt::QueuedConnection);
                            },
                            PictureRunner::HandOver::Report};
};

}  // namespace

void TVorlaForm::MakeMovie1Click() {
    if (renderRunning()) {
        ReportError("A picture or a movie is being made already: wait for it, or cancel it.");
        return;
    }
    const SceneState scene = CurrentScene();
    if (scene.pictureKind == PictureTag::None || scene.taskType == TaskType::None) {
        ReportError("Draw a picture first: a movie shows the last picture drawn.");
        return;
    }
    MovieDialog dialog(this, scene, session_->history().Previous());
    if (dialog.exec() != QDialog::Accepted || !dialog.flight) return;
    const Flight flight = *dialog.flight;
    const MovieJob job = dialog.job;
    const QString path = dialog.path;
    const int frames = job.frames, height = flight.height;

    QProgressDialog* progress = ShowJobProgress("MovieProgress",
                                                QString("Making %1 frames of %2x%3 into %4")
                                                    .arg(frames)
                                                    .arg(flight.width)
                                                    .arg(height)
                                                    .arg(path),
                                                1000);

    auto state = std::make_shared<MovieState>();
    PictureRunner::Events events;
    renderClock_.start();
    const QString caption = progress->labelText();
    events.band = [this, state, caption, frames, height](int, bool) {
        if (!renderProgress_) return false;
        const int done = state->done;
        const long long share =
            1000LL * done + std::clamp(1000LL * state->row / std::max(height, 1), 0LL, 1000LL);
        renderProgress_->setValue(static_cast<int>(share / frames));
        renderProgress_->setLabelText(
            caption + QString("\n%1 of %2 frames done, ").arg(done).arg(frames) +
            QString::fromStdString(ProgressText(
                share, 1000LL * frames, static_cast<double>(renderClock_.elapsed()) / 1000)));
        return false;
    };
    const JobTexts texts{"MOVIE CANCELLED", "Cannot make the movie \"" + path + "\".",
                         QString("Made %1, %2 frames").arg(QFileInfo(path).fileName()).arg(frames)};
    events.done = [this, texts](const Status& status, bool cancelled) {
        JobEnded(cancelled ? Status(Failure{kCancelled}) : status, texts);
    };
    const Status started = renders_.Start(
        [flight, job, path, state](PictureRunner::Job& j) -> Status {
            MovieJobHost host(j, *state);
            Status drawn;
            std::string step;
            const Status made =
                MakeMovie(flight, job, path.toStdString(), host, j.Cancel(), drawn, step);
            if (!drawn) return drawn;
            if (!made) return Failure{step + ": " + made.Message()};
            return {};
        },
        std::move(events));
    if (!started) JobEnded(started, texts);
}

}  // namespace vorla
