// The main window's menus: their items, captions and shortcuts, and the hidden actions
// that keep only a shortcut.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

#include "model/examples.h"
#include "pictures/kinds.h"
#include "ui/vorla_form.h"

namespace vorla {

QAction* TVorlaForm::AddAction(QMenu* menu, const char* name, const QString& caption,
                               const QKeySequence& key, const std::function<void()>& run) {
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    if (!key.isEmpty()) {
        a->setShortcut(key);
        menuKeys_.append(key);
    }
    a->setShortcutContext(Qt::WindowShortcut);
    connect(a, &QAction::triggered, this, [this, run] { RunNow(run); });
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
    AddAction(picture, "SaveScene1", QString::fromUtf8("Sa&ve scene …"),
              QKeySequence("Ctrl+Shift+S"), [this] { SaveScene1Click(); });
    AddAction(picture, "OpenScene1", QString::fromUtf8("&Open scene …"), QKeySequence("Ctrl+O"),
              [this] { OpenScene1Click(); });
    AddAction(picture, "RenderAtSize1", QString::fromUtf8("Render at si&ze …"),
              QKeySequence("Ctrl+B"), [this] { RenderAtSize1Click(); });
    AddAction(picture, "MakeMovie1", QString::fromUtf8("Make &movie …"), QKeySequence("Ctrl+M"),
              [this] { MakeMovie1Click(); });
    AddAction(picture, "ExportDeepZoom1", QString::fromUtf8("Export &deep zoom …"), {},
              [this] { ExportDeepZoom1Click(); });
    recentScenes_ = picture->addMenu("Recent scenes");
    recentScenes_->menuAction()->setObjectName("RecentScenes1");
    ShowRecentScenes();
    picture->addSeparator();
    coarseEverywhere_ =
        AddAction(picture, "CoarsePreview1", "Coarse preview for every picture", {},
                  [this] { Settings().setValue(kCoarseKey, coarseEverywhere_->isChecked()); });
    coarseEverywhere_->setCheckable(true);
    coarseEverywhere_->setChecked(Settings().value(kCoarseKey, false).toBool());
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
    coords->addSeparator();
    viewBack_ = AddAction(coords, "ViewBack1", "&Back", QKeySequence("Alt+Left"),
                          [this] { ViewBackClick(); });
    viewForward_ = AddAction(coords, "ViewForward1", "&Forward", QKeySequence("Alt+Right"),
                             [this] { ViewForwardClick(); });
    ViewChanged();  // nowhere to go yet

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

}  // namespace vorla
