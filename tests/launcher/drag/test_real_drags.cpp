// Real mouse drags between and within the configuration manager's lists, under an X server: the
// pointer is moved by xdotool (through the X test extension), so Qt runs its own drag loop exactly
// as for a user. Skipped without a display or without xdotool.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <set>

#include "cfg_manager_dlg.h"
#include "launcher_fixture.h"
#include "manager_rows.h"
#include "modal_answerer.h"

using launchertest::LauncherTest;
using launchertest::ModalAnswerer;
using launchertest::selectedNames;
using testdata::writeText;

namespace {

QPoint rowCentre(const ObjectListView& list, int row) {
    QRect r = list.visualItemRect(list.topLevelItem(row));
    return list.viewport()->mapToGlobal(r.center());
}

QPoint belowLastRow(const ObjectListView& list) {
    return list.viewport()->mapToGlobal(QPoint(20, list.viewport()->height() - 5));
}

// Presses at from, drags to to and releases there, with pauses that let Qt start its drag and
// see the pointer over the target. $CELESTRIX_DRAG_SCREENSHOT names a PNG to take of the screen
// while the pointer is over the target (used when looking at the drag image).
void dragWithTheMouse(QPoint from, QPoint to) {
    const QString shot = qEnvironmentVariable("CELESTRIX_DRAG_SCREENSHOT");
    QString script = QString("xdotool mousemove %1 %2 mousedown 1 sleep 0.3 mousemove %3 %4 sleep 0.3 "
                             "mousemove %5 %6 sleep 0.3 mousemove %7 %8 sleep 0.4")
                         .arg(from.x())
                         .arg(from.y())
                         .arg(from.x() + 12)
                         .arg(from.y() + 6)
                         .arg((from.x() + to.x()) / 2)
                         .arg((from.y() + to.y()) / 2)
                         .arg(to.x())
                         .arg(to.y());
    if (!shot.isEmpty()) script += "; import -window root '" + shot + "'";
    script += "; xdotool mouseup 1";
    QProcess mouse;
    mouse.start("sh", {"-c", script});
    ASSERT_TRUE(mouse.waitForStarted());
    // Keep the event loop running (and so Qt's drag loop) until the mouse script is done.
    for (int i = 0; i < 200 && mouse.state() != QProcess::NotRunning; ++i) QTest::qWait(50);
    ASSERT_EQ(mouse.state(), QProcess::NotRunning);
    QTest::qWait(300);
}

}  // namespace

class RealDrag : public LauncherTest {
protected:
    void SetUp() override {
        LauncherTest::SetUp();
        if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server";
        if (QStandardPaths::findExecutable("xdotool").isEmpty()) GTEST_SKIP() << "needs xdotool";
        writeText(dir() + "Configurations/Small.cfg", "Sun.cfg\nEarth.cfg\nObserver.cfg\n-999\n");
        writeText(dir() + "configfile.cfg", "Small\n-999\n");
    }

    // The manager, shown and fully exposed at the top left of the screen.
    std::unique_ptr<CCfgManagerDlg> openManager() {
        auto dlg = std::make_unique<CCfgManagerDlg>();
        dlg->move(0, 0);
        dlg->resize(1100, 760);
        dlg->show();
        dlg->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
        QTest::qWait(200);
        return dlg;
    }
};

TEST_F(RealDrag, FromTheAvailableListIntoTheSelectedList) {
    ModalAnswerer answers;
    auto dlg = openManager();
    const ObjectListView& available = *dlg->availableList();
    const ObjectListView& selected = *dlg->selectedList();

    // One row onto Earth: inserted before it and selected.
    dragWithTheMouse(rowCentre(available, launchertest::availableIndex(*dlg, "Moon")), rowCentre(selected, 1));
    EXPECT_EQ(selectedNames(*dlg), (std::vector<std::string>{"Sun", "Moon", "Earth", "Observer"}));
    EXPECT_EQ(dlg->selectedList()->selectedRowIndices(), std::vector<int>{1});
    EXPECT_EQ(dlg->selectedRows()[2].refNo, "3");
    EXPECT_EQ(selected.dropRow(), -1);  // the drop highlight is gone

    // Two rows onto the empty area below the last row: appended, then the tick keeps the
    // observer last.
    dlg->availableList()->selectRows({launchertest::availableIndex(*dlg, "Mars"),
                                      launchertest::availableIndex(*dlg, "Venus")});
    dragWithTheMouse(rowCentre(available, launchertest::availableIndex(*dlg, "Mars")), belowLastRow(selected));
    // The 60 ms tick has run meanwhile and put the observer last again.
    std::vector<std::string> names = selectedNames(*dlg);
    ASSERT_EQ(names.size(), 6u);
    EXPECT_EQ(names.back(), "Observer");
    EXPECT_EQ(std::set<std::string>(names.begin() + 3, names.end() - 1), (std::set<std::string>{"Mars", "Venus"}));
    EXPECT_EQ(dlg->selectedRows().back().refNo, "6");

    // Released over the available list: nothing changes.
    dragWithTheMouse(rowCentre(available, 0), rowCentre(available, 3));
    EXPECT_EQ(selectedNames(*dlg), names);
    EXPECT_EQ(dlg->availableRows().size(), 11u);
    EXPECT_TRUE(answers.seen().empty());
}

TEST_F(RealDrag, WithinTheSelectedListKeepingOrbitsAndTheObserverLast) {
    // Each move that changes what a Ref-No names asks first; "Quit" leaves the references alone.
    ModalAnswerer answers({"Quit", "Quit"});
    auto dlg = openManager();
    dlg->setSelectedRows({{"Sun", "1", "none", "Star"},
                          {"Earth", "2", "1", "Planet"},
                          {"Moon", "3", "2", "Planet"},
                          {"Observer", "4", "none", "Observer"}});
    const ObjectListView& selected = *dlg->selectedList();

    // The Moon dragged onto the Sun: first, with its orbit as it was.
    dragWithTheMouse(rowCentre(selected, 2), rowCentre(selected, 0));
    EXPECT_EQ(launchertest::shownSelectedRows(*dlg),
              (std::vector<std::string>{"Moon 1 2 Planet", "Sun 2 none Star", "Earth 3 1 Planet",
                                        "Observer 4 none Observer"}));

    // The observer dragged to the top is dropped there, and the tick brings it back to the end,
    // its selection with it.
    std::vector<std::pair<std::vector<int>, int>> drops;
    QObject::connect(dlg->selectedList(), &ObjectListView::rowsDropped,
                     [&](ObjectListView::Role, std::vector<int> rows, int at) { drops.emplace_back(rows, at); });
    dragWithTheMouse(rowCentre(selected, 3), rowCentre(selected, 0));
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0], std::make_pair(std::vector<int>{3}, 0));
    EXPECT_EQ(selectedNames(*dlg), (std::vector<std::string>{"Moon", "Sun", "Earth", "Observer"}));
    EXPECT_EQ(dlg->selectedList()->selectedRowIndices(), std::vector<int>{3});

    // Rows dragged out of the lists entirely: no drop, no change.
    dragWithTheMouse(rowCentre(selected, 0), dlg->mapToGlobal(QPoint(dlg->width() / 2, 8)));
    EXPECT_EQ(drops.size(), 1u);
    EXPECT_EQ(selectedNames(*dlg), (std::vector<std::string>{"Moon", "Sun", "Earth", "Observer"}));
    EXPECT_EQ(answers.seen().size(), 2u);
}
