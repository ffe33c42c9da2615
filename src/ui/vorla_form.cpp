#include "ui/vorla_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWindow>

#include "base/status.h"
#include "model/examples.h"
#include "pictures/kinds.h"
#include "plane/image_file.h"
#include "ui/about_window.h"
#include "ui/help_window.h"
#include "ui/mouse_events.h"
#include "ui/tabula_view.h"
#include "ui/widget_controls.h"

namespace vorla {
namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// Builds one page as a scrollable column of rows.
class PageBuilder {
  public:
    PageBuilder(QTabWidget* tabs, const char* name, const QString& title, TVorlaForm* form)
        : form_(form) {
        auto* scroll = new QScrollArea;
        scroll->setObjectName(QString("Tab") + name);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        page_ = new QWidget;
        grid_ = new QGridLayout(page_);
        grid_->setContentsMargins(4, 4, 4, 4);
        grid_->setVerticalSpacing(3);
        scroll->setWidget(page_);
        tabs->addTab(scroll, title);
    }
    ~PageBuilder() { grid_->setRowStretch(row_, 1); }

    QLabel* Heading(const QString& text) {
        auto* l = new QLabel(text);
        l->setStyleSheet("font-weight: bold; color: navy;");
        grid_->addWidget(l, row_++, 0, 1, 3);
        return l;
    }
    QLabel* Note(const QString& text) {
        auto* l = new QLabel(text);
        l->setWordWrap(true);
        grid_->addWidget(l, row_++, 0, 1, 3);
        return l;
    }
    QLineEdit* Edit(const QString& caption, const char* name, const QString& hint = {}) {
        auto* e = new QLineEdit;
        e->setObjectName(name);
        const ControlSpec* spec = FindControl(name);
        e->setText(spec->defaultText);
        if (spec->tag) e->setProperty("Tag", spec->tag);
        Row(caption, e, hint);
        return e;
    }
    QSpinBox* Spin(const QString& caption, const char* name, const QString& hint = {}) {
        auto* s = new QSpinBox;
        s->setObjectName(name);
        const ControlSpec* spec = FindControl(name);
        s->setRange(spec->min, spec->max);
        s->setValue(QString(spec->defaultText).toInt());
        if (spec->max == 1000000) {
            // At most eight characters.
            if (auto* le = s->findChild<QLineEdit*>()) le->setMaxLength(8);
        }
        Row(caption, s, hint);
        return s;
    }
    QCheckBox* Check(const QString& caption, const char* name) {
        auto* c = new QCheckBox(caption);
        c->setObjectName(name);
        c->setChecked(QString(FindControl(name)->defaultText) == "1");
        grid_->addWidget(c, row_++, 0, 1, 3);
        return c;
    }
    ColourLabel* Colour(const char* name, const QString& caption) {
        const ControlSpec* spec = FindControl(name);
        // The ends of the n-th distance ramp only show their colours; every other label,
        // also lbl0 with the Tag 0, takes a new colour when clicked.
        const bool clickable =
            std::string(name) != "LabelLimitD" && std::string(name) != "LabelLimitH";
        auto* l = new ColourLabel(name, caption, spec->colour, clickable);
        l->setProperty("Tag", spec->tag);
        if (clickable)
            QObject::connect(l, &ColourLabel::clicked, form_,
                             [form = form_, name] { form->LabelyBarev(name); });
        return l;
    }
    // A row of colour labels.
    void Colours(const std::vector<std::pair<const char*, QString>>& labels) {
        auto* box = new QHBoxLayout;
        box->setSpacing(2);
        for (const auto& [name, caption] : labels) box->addWidget(Colour(name, caption));
        grid_->addLayout(box, row_++, 0, 1, 3);
    }
    void ColourWithCaption(const char* name, const QString& labelCaption, const QString& text) {
        grid_->addWidget(Colour(name, labelCaption), row_, 0);
        grid_->addWidget(new QLabel(text), row_++, 1, 1, 2);
    }
    void Widget(QWidget* w) { grid_->addWidget(w, row_++, 0, 1, 3); }
    void Separator() {
        auto* line = new QFrame;
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        grid_->addWidget(line, row_++, 0, 1, 3);
    }

  private:
    void Row(const QString& caption, QWidget* w, const QString& hint) {
        auto* l = new QLabel(caption);
        l->setBuddy(w);
        grid_->addWidget(l, row_, 0);
        grid_->addWidget(w, row_, 1);
        if (!hint.isEmpty()) grid_->addWidget(new QLabel(hint), row_, 2);
        ++row_;
    }
    TVorlaForm* form_;
    QWidget* page_;
    QGridLayout* grid_;
    int row_ = 0;
};

const char* const kFieldsWithExit[] = {"EditKa",   "EditKb",     "edtXod",    "edtXdo",
                                       "edtYzero", "EditLimit1", "EditLimit2"};

}  // namespace

TVorlaForm::TVorlaForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName("VorlaForm");
    setWindowTitle(QString::fromUtf8("Vorla  -  Kruhová inverze"));
    session_ = std::make_unique<Session>(*this, *this, 542, 450);
    tools_ = std::make_unique<MouseTools>(*session_);

    auto* central = new QWidget;
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    auto* left = new QWidget;
    left->setFixedWidth(253);
    auto* column = new QVBoxLayout(left);
    column->setContentsMargins(6, 2, 6, 2);
    column->setSpacing(3);

    auto* specLabel = new QLabel("&Specification:");
    specLabel->setObjectName("Label1");
    specLabel->setStyleSheet("font-weight: bold; color: navy;");
    combo_ = new QComboBox;
    combo_->setObjectName("ComboTypUlohy");
    combo_->addItems({"A) Two circle inversions", "B) Three circle inversions",
                      "C) Four circle inversions", "D) Five circle inversions",
                      "E) Complex numbers on unit circle"});
    combo_->setCurrentIndex(-1);
    specLabel->setBuddy(combo_);
    connect(combo_, &QComboBox::activated, this, &TVorlaForm::ComboTypUlohyChange);
    column->addWidget(specLabel);
    column->addWidget(combo_);

    auto* buttons = new QHBoxLayout;
    recalc_ = new QPushButton("&Recalc.");
    recalc_->setObjectName("ButPrepocet");
    recalc_->setFixedSize(68, 25);
    connect(recalc_, &QPushButton::clicked, this, &TVorlaForm::ButPrepocetClick);
    stopImage_ = new QLabel;
    stopImage_->setObjectName("StopVypoctu");
    stopImage_->setPixmap(QPixmap::fromImage(StopImage()));
    stopImage_->setFixedSize(40, 20);
    stopImage_->setCursor(Qt::PointingHandCursor);
    stopImage_->installEventFilter(this);
    stopImage_->hide();
    progress_ = new QLabel("0");
    progress_->setObjectName("LabelPostup");
    progress_->setFixedSize(50, 14);
    progress_->setAlignment(Qt::AlignCenter);
    progress_->setStyleSheet("background: rgb(0,255,0); font-weight: bold;");
    progress_->hide();
    buttons->addWidget(recalc_);
    buttons->addStretch(1);
    buttons->addWidget(stopImage_);
    buttons->addWidget(progress_);
    column->addLayout(buttons);

    pages_ = new QTabWidget;
    pages_->setObjectName("PageCon");
    BuildPages();
    // The ten page captions in two rows, so that all stay visible in the narrow column.
    pages_->tabBar()->hide();
    column->addWidget(new PageTabs(pages_, 5));
    column->addWidget(pages_, 1);

    auto* bottom = new QHBoxLayout;
    auto* clearBox = new QVBoxLayout;
    auto* clear = new QCheckBox("Clear the tabula");
    clear->setObjectName("CheckClear");
    auto* before = new QLabel("before computing");
    before->setObjectName("Label78");
    clearBox->addWidget(clear);
    clearBox->addWidget(before);
    bottom->addLayout(clearBox);
    pixelPanel_ = new QWidget;
    pixelPanel_->setObjectName("PanelPixelu");
    pixelPanel_->setFixedSize(131, 52);
    auto* panelGrid = new QGridLayout(pixelPanel_);
    panelGrid->setContentsMargins(0, 0, 0, 0);
    auto* numb = new QLabel(kNoValueText);
    numb->setObjectName("LabelNumB");
    numb->setStyleSheet("color: green; font-weight: bold;");
    // The swatch changes at every mouse move: a palette colour, not a style sheet, which
    // would be parsed again each time.
    auto* swatch = new QLabel;
    swatch->setObjectName("LabelBarvT");
    swatch->setFixedSize(61, 20);
    swatch->setAutoFillBackground(true);
    QPalette swatchColours = swatch->palette();
    swatchColours.setColor(QPalette::Window, ToQColor(kPixelPanelColour));
    swatchColours.setColor(QPalette::WindowText, Qt::white);
    swatch->setPalette(swatchColours);
    auto* colourText = new QLabel;
    colourText->setObjectName("LabelCisBarvy");
    colourText->setFixedSize(70, 20);
    valueLabel_ = numb;
    swatch_ = swatch;
    colourText_ = colourText;
    panelGrid->addWidget(numb, 0, 0, 1, 2);
    panelGrid->addWidget(swatch, 1, 0);
    panelGrid->addWidget(colourText, 1, 1);
    bottom->addWidget(pixelPanel_);
    column->addLayout(bottom);

    tabule_ = new TabulaView(session_->tabula);
    connect(tabule_, &TabulaView::resized, this, &TVorlaForm::FormResize);
    connect(tabule_, &TabulaView::mousePressed, this, &TVorlaForm::TabuleMouseDown);
    connect(tabule_, &TabulaView::mouseMoved, this, &TVorlaForm::TabuleMouseMove);
    connect(tabule_, &TabulaView::mouseReleased, this, &TVorlaForm::TabuleMouseUp);
    row->addWidget(left);
    row->addWidget(tabule_, 1);
    setCentralWidget(central);

    BuildMenus();
    BuildStatusBar();

    // One filter for the whole program sees every key first and the fields' leave events;
    // a second filter on a field would see its leave event twice.
    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* w) {
        if (!w) return;
        if (w != windowHandle()) {
            returnPending_ = true;  // one of the program's own other windows
            return;
        }
        if (!activatedOnce_ || returnPending_) FormActivate();
        activatedOnce_ = true;  // also when the first show ran it
        returnPending_ = false;
    });

    timer1_.setParent(this);
    timer1_.setObjectName("Timer1");
    timer1_.setInterval(3000);
    connect(&timer1_, &QTimer::timeout, this, &TVorlaForm::Timer1Timer);
    timer1_.start();

    // FormCreate: no task type, the "Circles" page, the viewport and the colour tables.
    session_->FormCreate();
    pages_->setCurrentIndex(0);
    setMinimumSize(550, 450);
    resize(801, 481 + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    if (QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

TVorlaForm::~TVorlaForm() {
    qApp->removeEventFilter(this);
}

void TVorlaForm::BuildPages() {
    {
        PageBuilder p(pages_, "Circles", "Circles", this);
        p.Heading("Circle 1:");
        p.ColourWithCaption("LabelB1", "&1", "X^2 + Y^2 = 1");
        QLabel* circle2 = p.Heading("Circ&le 2:");
        p.ColourWithCaption("LabelB2", "&2", QString::fromUtf8("(X–D)^2 + Y^2 = R^2"));
        circle2->setBuddy(p.Edit("D =", "EditKd"));
        p.Edit("R &=", "EditKr");
        p.Heading("Circle 3:");
        p.ColourWithCaption("LabelB3", "&3", QString::fromUtf8("(X–M)^2 + (Y–N)^2 = S^2"));
        p.Edit("&M", "EditKm");
        p.Edit("&N", "EditKn");
        p.Edit("S", "EditKs");
        p.Heading("Circle 4:");
        p.ColourWithCaption("LabelB4", "&4", QString::fromUtf8("(X–U)^2 + (Y–V)^2 = W^2"));
        p.Edit("&U", "EditKu");
        p.Edit("&V", "EditKv");
        p.Edit("&W", "EditKw");
        p.Heading("Circle 5:");
        p.ColourWithCaption("LabelB5", "&5", QString::fromUtf8("(X–A)^2 + (Y–B)^2 = C^2"));
        p.Edit("A", "EditKa");
        p.Edit("&B", "EditKb");
        p.Edit("C", "EditKc");
        auto* random = new QPushButton("Random circles");
        random->setObjectName("ButNahoda");
        connect(random, &QPushButton::clicked, this, &TVorlaForm::ButNahodaClick);
        p.Widget(random);
    }
    {
        PageBuilder p(pages_, "Tabula", "Tabula", this);
        p.Heading("Circles:");
        p.Spin("&Thickness:", "TloustKce", QString::fromUtf8("(1–5)"));
        QLabel* axes = p.Heading("A&xes Range:");
        axes->setBuddy(p.Edit("&X  from", "edtXod"));
        p.Edit("X to", "edtXdo");
        p.Edit("Axis &Y relatively", "edtYzero");
        p.Note(
            "It is possible to calculate number \"Y relatively\" from the numbers \"X form\" "
            "and \"X to\" and from the position of Ctrl+LB click:");
        p.Edit("&Bounds of infinity:", "EditNekonecno");
        p.Note("Colors for infinity test:  see \"Rectang\"");
    }
    {
        PageBuilder p(pages_, "Converg", "Converg", this);
        p.Spin("&Iterations for convergence", "SpinKonvergIter");
        p.Edit("Acc&uracy:", "EditPresnost", "(calculation of convergention)");
        p.Heading("Colors of iteration regions:");
        p.Note("Nonconvergention:");
        p.Colours({{"LabelBA", "A  (1)"},
                   {"LabelBB", "B  (2)"},
                   {"LabelBC", "C  (3)"},
                   {"LabelBD", "D  (4)"}});
        p.Note("Convergention to points");
        p.Colours({{"LabelBE", "E  (5)"},
                   {"LabelBF", "F  (6)"},
                   {"LabelBG", "G  (7)"},
                   {"LabelBH", "H  (8)"}});
        auto* image = new QLabel;
        image->setObjectName("Image1");
        image->setPixmap(QPixmap::fromImage(ClassArrowsImage()));
        image->setFixedSize(160, 64);
        p.Widget(image);
    }
    {
        PageBuilder p(pages_, "Periods", "Periods", this);
        p.Spin("&Iterations for periodicity:", "SpinPeriodIter");
        p.Edit("Acc&uracy:", "EditTotoznost");
        p.Note("Tolerance for two iterations are identical");
        p.Heading("Colors of periodicity:");
        static const char* names[16] = {"lbl0",  "lbl1",  "lbl2",  "lbl3", "lbl4",  "lbl5",
                                        "lbl6",  "lbl7",  "lbl8",  "lbl9", "lbl10", "lbl11",
                                        "lbl12", "lbl13", "lbl14", "lbl15"};
        for (int rowStart : {0, 8}) {
            std::vector<std::pair<const char*, QString>> row;
            for (int i = rowStart; i < rowStart + 8; ++i)
                row.emplace_back(names[i], QString::number(i + 1));
            p.Colours(row);
        }
    }
    {
        PageBuilder p(pages_, "Iters", "Iters", this);
        p.Spin("Size of the &last iteration:", "SpinCalcIter");
        p.Note("(The distance of the last iteration from the last but one.)");
        p.ColourWithCaption("LabelItersFrom", "&From color", "for the value 0");
        p.ColourWithCaption("LabelItersTo", "&To color", "");
        p.Edit("for the &value", "EditMaxIterValue");
        p.Separator();
        p.Heading("Number of iterations for:");
        p.Spin("&Infinity test:", "SpinInfinityTest");
        p.Separator();
        p.Spin("Closest iteration:", "SpinClosestIter");
    }
    {
        PageBuilder p(pages_, "Limit", "Limit", this);
        p.Spin("&Watched iteration for Limit:", "SpinLimit", QString::fromUtf8("(1–1000)"));
        p.Edit("&Lower limit:", "EditLimit1");
        p.Edit("&Upper limit:", "EditLimit2");
        p.Note("Color range");
        p.Colours({{"LabelLimitD", ""}, {"LabelLimitH", ""}});
        p.Check("Co&mplete distances", "CheckUplnost");
        p.Check("Pai&nt white color", "CheckBila");
    }
    {
        PageBuilder p(pages_, "Rectang", "Rectang", this);
        p.Heading("Iterations of rectangle");
        p.Edit("&X", "EditX1");
        p.Edit("", "EditX2");
        p.Edit("&Y", "EditY1");
        p.Edit("", "EditY2");
        p.Spin("Number of &iterations:", "SpinNumRect", QString::fromUtf8("(1–12)"));
        p.Spin("Iteration densi&ty:", "SpinRectDensity", QString::fromUtf8("(1–10000)"));
        static const char* names[12] = {"LabelRect1", "LabelRect2",  "LabelRect3",  "LabelRect4",
                                        "LabelRect5", "LabelRect6",  "LabelRect7",  "LabelRect8",
                                        "LabelRect9", "LabelRect10", "LabelRect11", "LabelRect12"};
        for (int rowStart : {0, 6}) {
            std::vector<std::pair<const char*, QString>> row;
            for (int i = rowStart; i < rowStart + 6; ++i)
                row.emplace_back(names[i], QString::number(i + 1));
            p.Colours(row);
        }
    }
    {
        PageBuilder p(pages_, "Mouse", "Mouse", this);
        p.Spin("Mouse &iterations", "SpinMouseIter");
        p.ColourWithCaption("LabelMouseFrom", "&From", "start of the orbit");
        p.ColourWithCaption("LabelMouseTo", "&To", "end of the orbit");
        p.Separator();
        p.ColourWithCaption("LabelIterCircle", "", "Iteration circ&le of the orbit");
    }
    {
        PageBuilder p(pages_, "Regions", "Regions", this);
        p.Spin("&Iterations for regions:", "SpinRegionIter");
        p.Heading("Colors of termination regions:");
        static const char* names[8] = {"LabelKon0", "LabelKon1", "LabelKon2", "LabelKon3",
                                       "LabelKon4", "LabelKon5", "LabelKon6", "LabelKon7"};
        static const char* captions[8] = {
            "1)  Inside K1,     I. kvadrant", "2)  Inside K1,    II. kvadrant",
            "3)  Inside K1,   III. kvadrant", "4)  Inside K1,   IV. kvadrant",
            "5)  Outside K1,    I. kvadrant", "6)  Outside K1,   II. kvadrant",
            "7)  Outside K1,  III. kvadrant", "8)  Outside K1,  IV. kvadrant"};
        for (int i = 0; i < 8; ++i) p.ColourWithCaption(names[i], "", captions[i]);
        p.Note("Lighted inside K2  (if displayed)");
        p.Note("Darked inside K3  (if displayed)");
    }
    {
        PageBuilder p(pages_, "Lyap", "Lyap", this);
        p.Spin("&Iterations for computation:", "SpinLyapIter");
        p.Heading("Colors for Lyapunov's exponents:");
        p.ColourWithCaption("LabelLyapNegat", "", "for negative infinity");
        p.ColourWithCaption("LabelLyapZero", "", "for zero");
        p.ColourWithCaption("LabelLyapPosit", "", "for positive infinity");
        auto* box = new QWidget;
        auto* h = new QHBoxLayout(box);
        h->setContentsMargins(0, 0, 0, 0);
        scaleImage_ = new QLabel;
        scaleImage_->setObjectName("imgStupnice");
        scaleImage_->setFixedSize(25, 241);
        auto* marks = new QVBoxLayout;
        marks->addWidget(new QLabel("- 1"));
        marks->addStretch(1);
        marks->addWidget(new QLabel("  0"));
        marks->addStretch(1);
        marks->addWidget(new QLabel("+ 1"));
        h->addWidget(scaleImage_);
        h->addLayout(marks);
        h->addStretch(1);
        p.Widget(box);
    }
}

QAction* TVorlaForm::AddAction(QMenu* menu, const char* name, const QString& caption,
                               const QKeySequence& key, const std::function<void()>& run) {
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    if (!key.isEmpty()) {
        a->setShortcut(key);
        menuKeys_.append(key);
    }
    a->setShortcutContext(Qt::WindowShortcut);
    connect(a, &QAction::triggered, this, [this, run] { RunCommand(run); });
    if (menu) menu->addAction(a);
    addAction(a);  // hidden items keep their shortcuts through the window
    return a;
}

void TVorlaForm::BuildMenus() {
    QMenuBar* bar = menuBar();
    QMenu* picture = bar->addMenu("&Picture");
    AddAction(picture, "menuSaveObraz", QString::fromUtf8("&Save to file …"),
              QKeySequence("Ctrl+S"), [this] { menuSaveObrazClick(); });
    AddAction(picture, "UschovatObraz1", "S&tore picture", QKeySequence("Ctrl+U"),
              [this] { UschovatObraz1Click(); });
    AddAction(picture, "ObnovitObraz1", "&Restore picture", QKeySequence("Ctrl+Q"),
              [this] { ObnovitObraz1Click(); });
    picture->addSeparator();
    AddAction(picture, "Konec1", "E&xit", QKeySequence("Ctrl+X"), [this] { Konec1Click(); });

    QMenu* coords = bar->addMenu("Co&ordinates");
    for (int tag = 0; tag < static_cast<int>(kCoordinatePresets.size()); ++tag) {
        const QKeySequence key = tag == 0   ? QKeySequence("Ctrl+F10")
                                 : tag == 1 ? QKeySequence("Ctrl+F11")
                                            : QKeySequence();
        QAction* a =
            AddAction(coords, kCoordinatePresets[tag].name, kCoordinatePresets[tag].caption, key,
                      [this, tag] { SouradniceClick(tag); });
        a->setProperty("Tag", tag);
    }

    QMenu* action = bar->addMenu("&Action");
    auto pictureItem = [&](QMenu* menu, const char* name, const char* caption, int tag,
                           const char* key) {
        QAction* a =
            AddAction(menu, name, caption, QKeySequence(key), [this, tag] { ActionClick(tag); });
        a->setProperty("Tag", tag);
        return a;
    };
    pictureItem(action, "Convergention1", "Conver&gention", 1, "Ctrl+G");
    pictureItem(action, "Periodicity1", "&Periodicity", 2, "Ctrl+P");
    pictureItem(action, "Preperiodicity1", "Preperio&dicity", 3, "Ctrl+D");
    pictureItem(action, "EndRegions1", "&End-regions", 8, "Ctrl+E");
    QMenu* distances = action->addMenu("Distance of iterations");
    distances->menuAction()->setObjectName("Iterations2");
    pictureItem(distances, "Iterations1", "the &Last two", 17, "Ctrl+L");
    pictureItem(distances, "Limit1", "the &n-th", 4, "Ctrl+N");
    pictureItem(distances, "theClosestOrder1", "the &Closest (order)", 16, "F11");
    pictureItem(distances, "theClosestDist1", "the Closest (&dist.)", 22, "F12");
    pictureItem(action, "InfinityReach1", "Infinity reach", 15, "F10");
    action->addSeparator();
    // Not shown in the menu; an invisible action would lose its shortcut, so these live on
    // the window only.
    pictureItem(nullptr, "LyapunovExpX1", "L&yapunov exp. X", 18, "F5");
    pictureItem(nullptr, "LyapunovExpY1", "L&yapunov exp. Y", 19, "F6");
    pictureItem(nullptr, "LyapunovExp1", "L&yapunov exp. sum.", 20, "F7");
    pictureItem(action, "LyapunovExpXY1", "L&yapunov exp.", 21, "F8");

    QMenu* draw = bar->addMenu("&Draw");
    AddAction(draw, "PevneBody1", "&Fixed points", QKeySequence("Ctrl+F"),
              [this] { PevneBody1Click(); });
    AddAction(draw, "Zadani1", "&Basic circles", QKeySequence("Ctrl+V"),
              [this] { Zadani1Click(); });
    AddAction(draw, "Recalculation1", "&Recalculation", QKeySequence("Ctrl+R"),
              [this] { Recalculation1Click(); });
    draw->addSeparator();
    pictureItem(draw, "Rectangleiters1", "Rect&angle iters", 7, "Ctrl+A");

    QMenu* clip = bar->addMenu("&Clipboard");
    AddAction(clip, "TextDoSchranky1", "Copy &Text", QKeySequence("Ctrl+T"),
              [this] { TextDoSchranky1Click(); });
    AddAction(clip, "menuKopie", "Copy &Graphics", QKeySequence("Ctrl+C"),
              [this] { menuKopieClick(); });

    QMenu* examples = bar->addMenu("&Examples");
    for (int n = 1; n <= static_cast<int>(kExamples.size()); ++n) {
        QAction* a = AddAction(examples, kExamples[n - 1].item, kExamples[n - 1].caption, {},
                               [this, n] { ExampleClick(n); });
        a->setProperty("Tag", n);
        if (n == 4 || n == 8 || n == 12) examples->addSeparator();
    }

    QMenu* help = bar->addMenu("&Help");
    AddAction(help, "Jakpracovat1", QString::fromUtf8("&Brief help …"), QKeySequence("F1"),
              [this] { Jakpracovat1Click(); });
    AddAction(help, "Oaplikaci1", QString::fromUtf8("&About …"), QKeySequence("Shift+F1"),
              [this] { Oaplikaci1Click(); });
}

void TVorlaForm::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar1");
    bar->setSizeGripEnabled(true);
    const int widths[8] = {24, 64, 24, 64, 60, 40, 60, 72};
    const char* texts[8] = {" X:", "", " Y:", "", "Example:", "0", "Action:", ""};
    for (int i = 0; i < 8; ++i) {
        auto* l = new QLabel(texts[i]);
        l->setObjectName(QString("StatusPanel%1").arg(i));
        l->setMinimumWidth(widths[i]);
        if (i == 4 || i == 5 || i == 6) l->setAlignment(Qt::AlignCenter);
        if (i == 0 || i == 2 || i == 4 || i == 6)
            l->setFrameShape(QFrame::Panel), l->setFrameShadow(QFrame::Raised);
        panels_[i] = l;
        if (i == 7)
            bar->addWidget(l, 1);
        else
            bar->addWidget(l);
    }
}

// --- controls ------------------------------------------------------------------------------

QWidget* TVorlaForm::Control(const std::string& name) const {
    return findChild<QWidget*>(Q(name));
}

std::string TVorlaForm::Text(const std::string& name) const {
    QWidget* w = Control(name);
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text().toStdString();
    if (auto* s = qobject_cast<QSpinBox*>(w)) return s->text().toStdString();
    if (auto* c = qobject_cast<QCheckBox*>(w)) return c->isChecked() ? "1" : "0";
    return {};
}

void TVorlaForm::SetText(const std::string& name, const std::string& text) {
    QWidget* w = Control(name);
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(Q(text));
    if (auto* s = qobject_cast<QSpinBox*>(w)) s->setValue(Q(text).toInt());
    if (auto* c = qobject_cast<QCheckBox*>(w)) c->setChecked(text == "1");
}

bool TVorlaForm::Checked(const std::string& name) const {
    auto* c = qobject_cast<QCheckBox*>(Control(name));
    return c && c->isChecked();
}

Colour TVorlaForm::LabelColour(const std::string& name) const {
    auto* l = findChild<ColourLabel*>(Q(name));
    return l ? l->colour() : kBlack;
}

void TVorlaForm::SetLabelColour(const std::string& name, Colour c) {
    if (auto* l = findChild<ColourLabel*>(Q(name))) l->setColour(c);
}

void TVorlaForm::Focus(const std::string& name) {
    if (QWidget* w = Control(name)) {
        // A field on another page is shown first, so the focus can land on it.
        for (int i = 0; i < pages_->count(); ++i)
            if (pages_->widget(i)->isAncestorOf(w)) pages_->setCurrentIndex(i);
        // The program takes the focus back to a field: the control it leaves is not checked,
        // so two bad fields cannot hand the message to each other for ever.
        suppressExit_ = true;
        w->setFocus(Qt::OtherFocusReason);
        suppressExit_ = false;
    }
}

void TVorlaForm::ReportBadNumber(const std::string& field) {
    QMessageBox box(QMessageBox::Warning, "Vorla", QString::fromUtf8(kBadNumberMessage),
                    QMessageBox::Ok, this);
    box.setObjectName("BadNumberMessage");
    box.exec();
    Focus(field);
}

// --- host ----------------------------------------------------------------------------------

bool TVorlaForm::Poll(int row) {
    progress_->setText(QString::number(row));
    tabule_->update();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return terminating_;
}

void TVorlaForm::ShowRunning(bool running) {
    stopImage_->setVisible(running);
    progress_->setVisible(running);
    pixelPanel_->setVisible(!running);
}

void TVorlaForm::SetStatus(int panel, const std::string& text) {
    if (panel >= 0 && panel < 8) panels_[panel]->setText(Q(text));
}

QString TVorlaForm::statusText(int panel) const {
    return panel >= 0 && panel < 8 ? panels_[panel]->text() : QString();
}

void TVorlaForm::PublishScene(const std::string& text) {
    publishedScene = Q(text);
    emit sceneTextChanged(publishedScene);
}

void TVorlaForm::SetTaskIndex(int index) {
    const QSignalBlocker block(combo_);
    combo_->setCurrentIndex(index);
}

void TVorlaForm::TabulaChanged() {
    tabule_->update();
}

void TVorlaForm::ScaleChanged() {
    if (scaleImage_) scaleImage_->setPixmap(QPixmap::fromImage(session_->scaleImage.Copy()));
}

// --- commands ------------------------------------------------------------------------------

void TVorlaForm::RunCommand(const std::function<void()>& command) {
    if (const Status done = Guarded(command); !done)
        ReportError(QString::fromLocal8Bit(done.Message()));
    // A close asked for during a picture happens once the last picture has returned.
    if (closePending_ && !session_->Running()) QTimer::singleShot(0, this, &QWidget::close);
}

void TVorlaForm::ReportError(const QString& message) {
    QMessageBox::critical(this, "Vorla", message);
}

void TVorlaForm::ActionClick(int tag) {
    RunCommand([&] { session_->ActionClick(tag); });
}

void TVorlaForm::ComboTypUlohyChange(int index) {
    RunCommand([&] { session_->ComboTypUlohyChange(index); });
}

void TVorlaForm::ButPrepocetClick() {
    RunCommand([&] { session_->ButPrepocetClick(); });
}
void TVorlaForm::Recalculation1Click() {
    RunCommand([&] { session_->Recalculation1Click(); });
}
void TVorlaForm::StopVypoctuClick() {
    session_->StopVypoctuClick();
}
void TVorlaForm::SouradniceClick(int tag) {
    RunCommand([&] { session_->SouradniceClick(tag); });
}
void TVorlaForm::ExampleClick(int number) {
    RunCommand([&] { session_->LoadExample(number); });
}
void TVorlaForm::Zadani1Click() {
    RunCommand([&] { session_->Zadani1Click(); });
}
void TVorlaForm::PevneBody1Click() {
    RunCommand([&] { session_->PevneBody1Click(); });
}

void TVorlaForm::LabelyBarev(const QString& label) {
    auto* l = findChild<ColourLabel*>(label);
    if (!l || !l->clickable()) return;
    const QColor chosen = QColorDialog::getColor(ToQColor(l->colour()), this, QString());
    if (!chosen.isValid()) return;  // cancelled: nothing changes
    RunCommand([&] { session_->LabelyBarev(label.toStdString(), FromQColor(chosen)); });
}

void TVorlaForm::Timer1Timer() {
    panels_[7]->clear();
    timer1_.stop();
}

void TVorlaForm::menuSaveObrazClick() {
    const QString path = QFileDialog::getSaveFileName(this, QString(), QString(), QString(),
                                                      nullptr, QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) return;
    const Status saved = SaveImageFile(session_->tabula.Image(), path.toStdString(), "BMP");
    if (!saved)
        ReportError(QString::fromLocal8Bit("Cannot create file \"" + path.toStdString() + "\". " +
                                           saved.Message()));
}

void TVorlaForm::UschovatObraz1Click() {
    storedPicture_ = session_->tabula.Copy();
}

void TVorlaForm::ObnovitObraz1Click() {
    if (storedPicture_.isNull()) {
        panels_[7]->setText("NO STORED PICTURE");
        timer1_.start();
        return;
    }
    session_->tabula.SetImage(storedPicture_);
    tabule_->update();
}

void TVorlaForm::menuKopieClick() {
    QGuiApplication::clipboard()->setImage(session_->tabula.Copy());
}

void TVorlaForm::TextDoSchranky1Click() {
    QClipboard* clip = QGuiApplication::clipboard();
    clip->clear();
    clip->setText(session_->scene.taskType == 2 ? " \r\n" : "\r\n");
}

void TVorlaForm::CreateSmallWindows() {
    if (!about_) about_ = new TAbo1F(this);
    if (!help_) help_ = new THep1F(this);
}

void TVorlaForm::Jakpracovat1Click() {
    CreateSmallWindows();
    help_->ShowHelp("Vorla.rtf");
}

void TVorlaForm::Oaplikaci1Click() {
    CreateSmallWindows();
    about_->ShowAbout("Vorla", "2");
}

// --- mouse on the tabula -------------------------------------------------------------------

namespace {
QPoint PixelOf(const QMouseEvent* e) {
    return e->position().toPoint();
}
}  // namespace

void TVorlaForm::TabuleMouseDown(QMouseEvent* e) {
    MouseButton button;
    if (!ButtonFromQt(e->button(), button)) return;
    const QPoint p = PixelOf(e);
    const ShiftState state =
        ShiftFromQt(e->modifiers(), e->buttons(), e->type() == QEvent::MouseButtonDblClick);
    RunCommand([&] { ShowMouseOutcome(tools_->TabuleMouseDown(button, state, p.x(), p.y())); });
}

void TVorlaForm::TabuleMouseMove(QMouseEvent* e) {
    const QPoint p = PixelOf(e);
    const ShiftState state = ShiftFromQt(e->modifiers(), e->buttons(), false);
    RunCommand([&] { ShowMouseOutcome(tools_->TabuleMouseMove(state, p.x(), p.y())); });
}

void TVorlaForm::TabuleMouseUp(QMouseEvent* e) {
    MouseButton button = MouseButton::Left;
    ButtonFromQt(e->button(), button);
    const QPoint p = PixelOf(e);
    const ShiftState state = ShiftFromQt(e->modifiers(), e->buttons(), false);
    RunCommand([&] { ShowMouseOutcome(tools_->TabuleMouseUp(button, state, p.x(), p.y())); });
}

void TVorlaForm::ShowMouseOutcome(const MouseTools::Outcome& out) {
    if (out.hover) {
        valueLabel_->setText(Q(out.readout.valueText));
        QPalette colours = swatch_->palette();
        colours.setColor(QPalette::Window, ToQColor(out.readout.colour));
        swatch_->setPalette(colours);
        colourText_->setText(Q(out.readout.colourText));
    }
    if (out.drew) tabule_->update();
    if (!out.status) ReportError(Q(out.status.Message()));
}

// --- window events -------------------------------------------------------------------------

void TVorlaForm::FormResize(int width, int height) {
    RunCommand([&] {
        const Status resized = session_->FormResize(width, height);
        if (!resized) return ReportError(Q(resized.Message()));
        storedPicture_ = QImage();  // it no longer fits
    });
    tabule_->update();
}

void TVorlaForm::FormActivate() {
    RunCommand([&] {
        session_->FormActivate();
        ScaleChanged();
    });
}

void TVorlaForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The first show counts as an activation even where the window does not get the focus.
    if (!activatedOnce_) {
        activatedOnce_ = true;
        FormActivate();
    }
}

void TVorlaForm::closeEvent(QCloseEvent* event) {
    if (session_->Running()) {
        // The running picture sees this at its next poll and ends; the window closes then.
        terminating_ = true;
        closePending_ = true;
        event->ignore();
        return;
    }
    event->accept();
}

bool TVorlaForm::FormKeyDown(QKeyEvent* e) {
    const int key = e->key();
    const Qt::KeyboardModifiers mods = e->modifiers();
    if (key == Qt::Key_Escape) session_->StopRequested = true;  // not consumed
    if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && (mods & Qt::ControlModifier)) {
        const int n = pages_->count();
        const bool back = key == Qt::Key_Backtab || (mods & Qt::ShiftModifier);
        pages_->setCurrentIndex((pages_->currentIndex() + (back ? n - 1 : 1)) % n);
        return true;
    }
    if (!(mods & Qt::AltModifier)) return false;
    const QString page = pages_->currentWidget()->objectName().mid(3);
    auto colour = [&](const char* label) { LabelyBarev(label); };
    auto focus = [&](const char* name) { Focus(name); };
    switch (key) {
        case Qt::Key_1:
        case Qt::Key_2:
        case Qt::Key_3:
        case Qt::Key_4:
        case Qt::Key_5:
            if (page == "Circles") colour(("LabelB" + std::to_string(key - Qt::Key_0)).c_str());
            return true;
        case Qt::Key_B:
            if (page == "Tabula") focus("EditNekonecno");
            if (page == "Circles") focus("EditKb");
            return true;
        case Qt::Key_F:
            if (page == "Mouse") colour("LabelMouseFrom");
            if (page == "Iters") colour("LabelItersFrom");
            return true;
        case Qt::Key_I: {
            static const std::pair<const char*, const char*> table[] = {
                {"Periods", "SpinPeriodIter"}, {"Converg", "SpinKonvergIter"},
                {"Iters", "SpinInfinityTest"}, {"Rectang", "SpinNumRect"},
                {"Mouse", "SpinMouseIter"},    {"Regions", "SpinRegionIter"},
                {"Lyap", "SpinLyapIter"}};
            for (const auto& [p, name] : table)
                if (page == p) focus(name);
            return true;
        }
        case Qt::Key_L:
            if (page == "Mouse") colour("LabelIterCircle");
            return true;
        case Qt::Key_N:
            if (page == "Circles") focus("EditKn");
            return true;
        case Qt::Key_T:
            if (page == "Mouse") colour("LabelMouseTo");
            if (page == "Iters") colour("LabelItersTo");
            if (page == "Rectang") focus("SpinRectDensity");
            return true;
        default:
            return false;
    }
}

bool TVorlaForm::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == stopImage_ && type == QEvent::MouseButtonPress) {
        StopVypoctuClick();
        return true;
    }
    if (type == QEvent::FocusOut) {
        auto* field = qobject_cast<QWidget*>(watched);
        if (suppressExit_ || !field || field->window() != this) return false;
        auto* fe = static_cast<QFocusEvent*>(event);
        // Leaving the field for another control, not for another window or a menu.
        if (fe->reason() != Qt::ActiveWindowFocusReason && fe->reason() != Qt::PopupFocusReason) {
            const std::string name = watched->objectName().toStdString();
            // A refused number is reported, or its field focused, by the exit itself.
            if (name == "EditNekonecno")
                QTimer::singleShot(
                    0, this, [this] { RunCommand([&] { (void)session_->EditNekonecnoExit(); }); });
            else if (name == "EditPresnost")
                QTimer::singleShot(0, this,
                                   [this] { RunCommand([&] { session_->EditPresnostExit(); }); });
            else
                for (const char* f : kFieldsWithExit)
                    if (name == f)
                        QTimer::singleShot(0, this, [this, name] {
                            RunCommand([&] { (void)session_->EditKoefExit(name); });
                        });
        }
        return false;
    }
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != this) return false;
    auto* ke = static_cast<QKeyEvent*>(event);
    if (type == QEvent::ShortcutOverride) {
        const QKeySequence seq(ke->keyCombination());
        // The menu's shortcuts win over an edit field's own keys (Ctrl+C, Ctrl+V, Ctrl+X…).
        if (menuKeys_.contains(seq)) return true;
        // The keys of the Alt table come to the key handler, not to label mnemonics.
        const int k = ke->key();
        if ((ke->modifiers() & Qt::AltModifier) &&
            ((k >= Qt::Key_1 && k <= Qt::Key_5) || k == Qt::Key_B || k == Qt::Key_F ||
             k == Qt::Key_I || k == Qt::Key_L || k == Qt::Key_N || k == Qt::Key_T)) {
            ke->accept();
            return true;
        }
        return false;
    }
    // Key preview: the window's handler sees each key once, before the focused control.
    if (watched != w->window() && w != qApp->focusWidget()) return false;
    return FormKeyDown(ke);
}

}  // namespace vorla
