// The main window's left column: the task type, the Recalc. button, the ten pages of
// controls built from the control table, the pixel panel; and the status bar.
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "pictures/lyapunov.h"
#include "ui/vorla_form.h"
#include "ui/widget_controls.h"

namespace vorla {
namespace {

using Widgets = std::array<QWidget*, kControlCount>;

constexpr const char* kHeadingStyle = "font-weight: bold; color: navy;";

// Keeps `w` as the widget of control `c`, named as the table names it.
template <class W>
W* Keep(Widgets& widgets, Ctl c, W* w) {
    w->setObjectName(Spec(c).name);
    widgets[static_cast<int>(c)] = w;
    return w;
}

// Keeps the place of a widget that is hidden while a picture runs, so nothing moves.
void RetainSpace(QWidget* w) {
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
}

QCheckBox* NewCheck(Widgets& widgets, Ctl c, const QString& caption) {
    auto* box = Keep(widgets, c, new QCheckBox(caption));
    box->setChecked(QString(Spec(c).defaultText) == "1");
    return box;
}

// Builds one page as a scrollable column of rows; each control comes from its row of the
// table, with its default, range, length, tag and handler.
class PageBuilder {
  public:
    PageBuilder(QTabWidget* tabs, Page page, TVorlaForm* form, Widgets& widgets)
        : form_(form), widgets_(widgets) {
        // Added in the order of Page, so that a page's index is its number.
        const QString name = PageName(page);
        auto* scroll = new QScrollArea;
        scroll->setObjectName("Tab" + name);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        page_ = new QWidget;
        grid_ = new QGridLayout(page_);
        grid_->setContentsMargins(4, 4, 4, 4);
        grid_->setVerticalSpacing(3);
        scroll->setWidget(page_);
        tabs->addTab(scroll, name);
    }
    ~PageBuilder() { grid_->setRowStretch(row_, 1); }

    QLabel* Heading(const QString& text) {
        auto* l = new QLabel(text);
        l->setStyleSheet(kHeadingStyle);
        grid_->addWidget(l, row_++, 0, 1, 3);
        return l;
    }
    QLabel* Note(const QString& text) {
        auto* l = new QLabel(text);
        l->setWordWrap(true);
        grid_->addWidget(l, row_++, 0, 1, 3);
        return l;
    }
    QLineEdit* Edit(const QString& caption, Ctl c, const QString& hint = {}) {
        QLineEdit* e = NewEdit(c);
        Row(caption, e, hint);
        return e;
    }
    // Several short fields side by side, each after its caption; gives the first field.
    QLineEdit* Edits(const std::vector<std::pair<QString, Ctl>>& fields) {
        auto* box = new QHBoxLayout;
        box->setSpacing(4);
        QLineEdit* first = nullptr;
        for (const auto& [caption, c] : fields) {
            QLineEdit* e = NewEdit(c);
            // Wide enough for a number of ten digits; the row then fits the column.
            e->setMaximumWidth(e->fontMetrics().horizontalAdvance("-0.0000000000") + 8);
            auto* l = new QLabel(caption);
            l->setBuddy(e);
            box->addWidget(l);
            box->addWidget(e, 1);
            if (!first) first = e;
        }
        box->addStretch(0);
        grid_->addLayout(box, row_++, 0, 1, 3);
        return first;
    }
    QSpinBox* Spin(const QString& caption, Ctl c, const QString& hint = {}) {
        const ControlSpec& spec = Spec(c);
        auto* s = Keep(widgets_, c, new QSpinBox);
        s->setRange(spec.min, spec.max);
        s->setValue(QString(spec.defaultText).toInt());
        if (spec.maxLength)
            if (auto* le = s->findChild<QLineEdit*>()) le->setMaxLength(spec.maxLength);
        Row(caption, s, hint);
        return s;
    }
    QCheckBox* Check(const QString& caption, Ctl c) {
        auto* box = NewCheck(widgets_, c, caption);
        grid_->addWidget(box, row_++, 0, 1, 3);
        return box;
    }
    ColourLabel* Colour(Ctl c, const QString& caption) {
        const ControlSpec& spec = Spec(c);
        const bool clickable = spec.handler == ControlHandler::PickColour;
        auto* l = Keep(widgets_, c, new ColourLabel(spec.name, caption, spec.colour, clickable));
        l->setProperty("Tag", spec.tag);
        if (clickable)
            QObject::connect(l, &ColourLabel::clicked, form_,
                             [form = form_, c] { form->LabelyBarev(c); });
        return l;
    }
    // A row of colour labels.
    void Colours(const std::vector<std::pair<Ctl, QString>>& labels) {
        auto* box = new QHBoxLayout;
        box->setSpacing(2);
        for (const auto& [c, caption] : labels) box->addWidget(Colour(c, caption));
        grid_->addLayout(box, row_++, 0, 1, 3);
    }
    // Rows of `perRow` numbered colour labels, `count` in all from `first` on.
    void NumberedColours(Ctl first, int count, int perRow) {
        for (int rowStart = 0; rowStart < count; rowStart += perRow) {
            std::vector<std::pair<Ctl, QString>> row;
            for (int i = rowStart; i < rowStart + perRow; ++i)
                row.emplace_back(CtlAfter(first, i), QString::number(i + 1));
            Colours(row);
        }
    }
    void ColourWithCaption(Ctl c, const QString& labelCaption, const QString& text) {
        ColourLabel* label = Colour(c, labelCaption);
        auto* caption = new QLabel(text);
        // An accelerator in the caption shows as one and leads to the label.
        if (text.contains('&')) caption->setBuddy(label);
        grid_->addWidget(label, row_, 0);
        grid_->addWidget(caption, row_++, 1, 1, 2);
    }
    // A circle's heading with its colour label and equation on one row.
    QLabel* CircleHeading(const QString& heading, Ctl c, const QString& labelCaption,
                          const QString& equation) {
        auto* h = new QLabel(heading);
        h->setStyleSheet(kHeadingStyle);
        auto* box = new QHBoxLayout;
        box->setSpacing(6);
        box->addWidget(h);
        box->addWidget(Colour(c, labelCaption));
        box->addWidget(new QLabel(equation), 1);
        grid_->addLayout(box, row_++, 0, 1, 3);
        return h;
    }
    void Widget(QWidget* w) { grid_->addWidget(w, row_++, 0, 1, 3); }
    void Separator() {
        auto* line = new QFrame;
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        grid_->addWidget(line, row_++, 0, 1, 3);
    }

  private:
    QLineEdit* NewEdit(Ctl c) {
        const ControlSpec& spec = Spec(c);
        auto* e = Keep(widgets_, c, new QLineEdit);
        e->setText(spec.defaultText);
        if (spec.maxLength) e->setMaxLength(spec.maxLength);
        if (spec.tag) e->setProperty("Tag", spec.tag);
        return e;
    }
    void Row(const QString& caption, QWidget* w, const QString& hint) {
        auto* l = new QLabel(caption);
        l->setBuddy(w);
        grid_->addWidget(l, row_, 0);
        grid_->addWidget(w, row_, 1);
        if (!hint.isEmpty()) grid_->addWidget(new QLabel(hint), row_, 2);
        ++row_;
    }
    TVorlaForm* form_;
    Widgets& widgets_;
    QWidget* page_;
    QGridLayout* grid_;
    int row_ = 0;
};

}  // namespace

QWidget* TVorlaForm::BuildColumn() {
    auto* left = new QWidget;
    left->setObjectName("LeftColumn");
    auto* column = new QVBoxLayout(left);
    column->setContentsMargins(6, 2, 6, 2);
    column->setSpacing(3);

    auto* specLabel = new QLabel("&Specification:");
    specLabel->setObjectName("Label1");
    specLabel->setStyleSheet(kHeadingStyle);
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
    RetainSpace(stopImage_);
    progress_ = new QLabel("0");
    progress_->setObjectName("LabelPostup");
    progress_->setFixedSize(50, 14);
    progress_->setAlignment(Qt::AlignCenter);
    progress_->setStyleSheet("background: rgb(0,255,0); font-weight: bold;");
    progress_->hide();
    RetainSpace(progress_);
    buttons->addWidget(recalc_);
    buttons->addStretch(1);
    buttons->addWidget(stopImage_);
    buttons->addWidget(progress_);
    column->addLayout(buttons);

    pages_ = new QTabWidget;
    pages_->setObjectName("PageCon");
    BuildPages();
    // The ten page captions in two rows of buttons, the page shown marked.
    pages_->tabBar()->hide();
    column->addWidget(new PageTabs(pages_, 5));
    column->addWidget(pages_, 1);

    auto* bottom = new QHBoxLayout;
    auto* clearBox = new QVBoxLayout;
    QCheckBox* clear = NewCheck(widgets_, Ctl::CheckClear, "Clear the tabula");
    auto* before = new QLabel("before computing");
    before->setObjectName("Label78");
    clearBox->addWidget(clear);
    clearBox->addWidget(before);
    bottom->addLayout(clearBox);
    pixelPanel_ = new QWidget;
    pixelPanel_->setObjectName("PanelPixelu");
    RetainSpace(pixelPanel_);
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
    // Room for the longest colour text, three channels of three digits or a long name.
    int textWidth = colourText->fontMetrics().horizontalAdvance("255-255-255");
    for (const auto& named : NamedColors)
        textWidth = std::max(textWidth, colourText->fontMetrics().horizontalAdvance(named.name));
    colourText->setFixedSize(textWidth + 6, 20);
    valueLabel_ = numb;
    swatch_ = swatch;
    colourText_ = colourText;
    panelGrid->addWidget(numb, 0, 0, 1, 2);
    panelGrid->addWidget(swatch, 1, 0);
    panelGrid->addWidget(colourText, 1, 1);
    bottom->addStretch(1);
    bottom->addWidget(pixelPanel_);
    column->addLayout(bottom);

    // The column is as wide as its widest page wants: every page then shows all of its
    // controls and captions without scrolling sideways.
    int width = 253;
    for (int i = 0; i < pages_->count(); ++i) {
        auto* page = static_cast<QScrollArea*>(pages_->widget(i));
        width = std::max(width, page->widget()->sizeHint().width() + 2 * page->frameWidth() +
                                    column->contentsMargins().left() +
                                    column->contentsMargins().right() + 4);
    }
    left->setFixedWidth(width);
    return left;
}

const char* PageName(Page page) {
    static constexpr const char* kNames[] = {"Circles", "Tabula",  "Converg", "Periods", "Iters",
                                             "Limit",   "Rectang", "Mouse",   "Regions", "Lyap"};
    return kNames[static_cast<int>(page)];
}

void TVorlaForm::BuildPages() {
    using C = Ctl;
    {
        PageBuilder p(pages_, Page::Circles, this, widgets_);
        p.CircleHeading("Circle 1:", C::LabelB1, "&1", "X^2 + Y^2 = 1");
        QLabel* circle2 = p.CircleHeading("Circ&le 2:", C::LabelB2, "&2",
                                          QString::fromUtf8("(X–D)^2 + Y^2 = R^2"));
        circle2->setBuddy(p.Edits({{"D =", C::EditKd}, {"R &=", C::EditKr}}));
        p.CircleHeading("Circle 3:", C::LabelB3, "&3",
                        QString::fromUtf8("(X–M)^2 + (Y–N)^2 = S^2"));
        p.Edits({{"&M", C::EditKm}, {"&N", C::EditKn}, {"S", C::EditKs}});
        p.CircleHeading("Circle 4:", C::LabelB4, "&4",
                        QString::fromUtf8("(X–U)^2 + (Y–V)^2 = W^2"));
        p.Edits({{"&U", C::EditKu}, {"&V", C::EditKv}, {"&W", C::EditKw}});
        p.CircleHeading("Circle 5:", C::LabelB5, "&5",
                        QString::fromUtf8("(X–A)^2 + (Y–B)^2 = C^2"));
        p.Edits({{"A", C::EditKa}, {"&B", C::EditKb}, {"C", C::EditKc}});
        auto* random = new QPushButton("Random circles");
        random->setObjectName("ButNahoda");
        connect(random, &QPushButton::clicked, this, &TVorlaForm::ButNahodaClick);
        p.Widget(random);
    }
    {
        PageBuilder p(pages_, Page::Tabula, this, widgets_);
        p.Heading("Circles:");
        p.Spin("&Thickness:", C::TloustKce, QString::fromUtf8("(1–5)"));
        QLabel* axes = p.Heading("A&xes Range:");
        axes->setBuddy(p.Edit("&X  from", C::edtXod));
        p.Edit("X to", C::edtXdo);
        p.Edit("Axis &Y relatively", C::edtYzero);
        p.Note(
            "It is possible to calculate number \"Y relatively\" from the numbers \"X form\" "
            "and \"X to\" and from the position of Ctrl+LB click:");
        p.Edit("&Bounds of infinity:", C::EditNekonecno);
        p.Note("Colors for infinity test:  see \"Rectang\"");
    }
    {
        PageBuilder p(pages_, Page::Converg, this, widgets_);
        p.Spin("&Iterations for convergence", C::SpinKonvergIter);
        p.Edit("Acc&uracy:", C::EditPresnost);
        p.Note("(calculation of convergention)");
        p.Heading("Colors of iteration regions:");
        p.Note("Nonconvergention:");
        p.Colours({{C::LabelBA, "A  (1)"},
                   {C::LabelBB, "B  (2)"},
                   {C::LabelBC, "C  (3)"},
                   {C::LabelBD, "D  (4)"}});
        p.Note("Convergention to points");
        p.Colours({{C::LabelBE, "E  (5)"},
                   {C::LabelBF, "F  (6)"},
                   {C::LabelBG, "G  (7)"},
                   {C::LabelBH, "H  (8)"}});
        auto* image = new QLabel;
        image->setObjectName("Image1");
        image->setPixmap(QPixmap::fromImage(ClassArrowsImage()));
        image->setFixedSize(160, 64);
        p.Widget(image);
    }
    {
        PageBuilder p(pages_, Page::Periods, this, widgets_);
        p.Spin("&Iterations for periodicity:", C::SpinPeriodIter);
        p.Edit("Acc&uracy:", C::EditTotoznost);
        p.Note("Tolerance for two iterations are identical");
        p.Heading("Colors of periodicity:");
        p.NumberedColours(PeriodLabel(0), 16, 8);
    }
    {
        PageBuilder p(pages_, Page::Iters, this, widgets_);
        p.Spin("Size of the &last iteration:", C::SpinCalcIter);
        p.Note("(The distance of the last iteration from the last but one.)");
        p.ColourWithCaption(C::LabelItersFrom, "&From color", "for the value 0");
        p.ColourWithCaption(C::LabelItersTo, "&To color", "");
        p.Edit("for the &value", C::EditMaxIterValue);
        p.Separator();
        p.Heading("Number of iterations for:");
        p.Spin("&Infinity test:", C::SpinInfinityTest);
        p.Separator();
        p.Spin("Closest iteration:", C::SpinClosestIter);
    }
    {
        PageBuilder p(pages_, Page::Limit, this, widgets_);
        p.Spin("&Watched iteration for Limit:", C::SpinLimit, QString::fromUtf8("(1–1000)"));
        p.Edit("&Lower limit:", C::EditLimit1);
        p.Edit("&Upper limit:", C::EditLimit2);
        p.Note("Color range");
        p.Colours({{C::LabelLimitD, ""}, {C::LabelLimitH, ""}});
        p.Check("Co&mplete distances", C::CheckUplnost);
        p.Check("Pai&nt white color", C::CheckBila);
    }
    {
        PageBuilder p(pages_, Page::Rectang, this, widgets_);
        p.Heading("Iterations of rectangle");
        p.Edit("&X", C::EditX1);
        p.Edit("", C::EditX2);
        p.Edit("&Y", C::EditY1);
        p.Edit("", C::EditY2);
        p.Spin("Number of &iterations:", C::SpinNumRect, QString::fromUtf8("(1–12)"));
        p.Spin("Iteration densi&ty:", C::SpinRectDensity, QString::fromUtf8("(1–10000)"));
        p.NumberedColours(RectLabel(0), 12, 6);
    }
    {
        PageBuilder p(pages_, Page::Mouse, this, widgets_);
        p.Spin("Mouse &iterations", C::SpinMouseIter);
        p.ColourWithCaption(C::LabelMouseFrom, "&From", "start of the orbit");
        p.ColourWithCaption(C::LabelMouseTo, "&To", "end of the orbit");
        p.Separator();
        p.ColourWithCaption(C::LabelIterCircle, "", "Iteration circ&le of the orbit");
    }
    {
        PageBuilder p(pages_, Page::Regions, this, widgets_);
        p.Spin("&Iterations for regions:", C::SpinRegionIter);
        p.Heading("Colors of termination regions:");
        static const char* captions[8] = {
            "1)  Inside K1,     I. kvadrant", "2)  Inside K1,    II. kvadrant",
            "3)  Inside K1,   III. kvadrant", "4)  Inside K1,   IV. kvadrant",
            "5)  Outside K1,    I. kvadrant", "6)  Outside K1,   II. kvadrant",
            "7)  Outside K1,  III. kvadrant", "8)  Outside K1,  IV. kvadrant"};
        for (int i = 0; i < 8; ++i) p.ColourWithCaption(RegionLabel(i), "", captions[i]);
        p.Heading("Lighted inside K2  (if displayed)");
        p.Heading("Darked inside K3  (if displayed)");
    }
    {
        PageBuilder p(pages_, Page::Lyap, this, widgets_);
        p.Spin("&Iterations for computation:", C::SpinLyapIter);
        p.Heading("Colors for Lyapunov's exponents:");
        p.ColourWithCaption(C::LabelLyapNegat, "", "for negative infinity");
        p.ColourWithCaption(C::LabelLyapZero, "", "for zero");
        p.ColourWithCaption(C::LabelLyapPosit, "", "for positive infinity");
        auto* box = new QWidget;
        auto* h = new QHBoxLayout(box);
        h->setContentsMargins(0, 0, 0, 0);
        scaleImage_ = new QLabel;
        scaleImage_->setObjectName("imgStupnice");
        scaleImage_->setFixedSize(kScaleWidth, kScaleHeight);
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
    zoomLabel_ = new QLabel;
    zoomLabel_->setObjectName("ZoomLabel");
    zoomLabel_->setToolTip("The zoom against the first view of the example or scene");
    bar->addPermanentWidget(zoomLabel_);
    ViewChanged();
}

}  // namespace vorla
