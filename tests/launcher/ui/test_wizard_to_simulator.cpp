// End to end: in the configuration manager a planet with a ring is created in the object wizard
// orbiting the Sun, and a moon orbiting that planet (its orbit set in the orbit dialog); the list
// is checked and saved; the simulator flies it without a window for one predicted period; the
// planet's orbit in the simulator's trace matches the period and size the wizard showed to 1 %.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cmath>

#include "any_modal_answerer.h"
#include "cfg_manager_dlg.h"
#include "cfg_object_wizard.h"
#include "cfg_orbit_dlg.h"
#include "cfg_ori_page.h"
#include "cfg_plt_ori_page.h"
#include "launcher_fixture.h"
#include "manager_rows.h"
#include "run_program.h"
#include "sky_coordinates.h"
#include "starting_state.h"
#include "trace_track.h"

using launchertest::AnyModalAnswerer;
using launchertest::LauncherTest;
using launchertest::relativeTrack;
using launchertest::TracePoint;

namespace {

constexpr double kPlanetDistanceKm = 1.5e7;  // about 0.1 AU from the Sun at the origin
constexpr double kMoonDistanceKm = 1e5;
constexpr double kTimeStepS = 100;

void setField(CCfgObject& w, int sheet, int id, double value) {
    w.sheet(sheet)->numberField(id)->setText(QString::number(value, 'g', 9));
}

// The sheet-1 fields of an orbiting object: two points a quarter turn apart around centre.
void enterOrbit(CCfgObject& w, CartesianKm centre, double radiusKm) {
    const CartesianKm first{static_cast<float>(centre.x + radiusKm), centre.y, centre.z};
    const CartesianKm second{centre.x, centre.y, static_cast<float>(centre.z + radiusKm)};
    int ids[2][4] = {{1101, 1104, 1107, 1125}, {1103, 1106, 1110, 1129}};
    int k = 0;
    for (const CartesianKm& p : {first, second}) {
        SkyPosition s = cartesianToSky(p);
        setField(w, 1, ids[k][0], s.raHours);
        setField(w, 1, ids[k][1], s.decDeg);
        setField(w, 1, ids[k][2], s.rMantissa);
        setField(w, 1, ids[k][3], s.rExponent);
        ++k;
    }
}

void enterBody(CCfgObject& w, double mantissa, int exponent, double radiusKm, const QString& name) {
    w.next();
    setField(w, 2, 1144, mantissa);
    setField(w, 2, 1145, exponent);
    setField(w, 2, 1146, radiusKm);
    setField(w, 2, 1147, radiusKm);
    w.next();
    w.sheet(3)->choiceField(1163)->setCurrentText("sphere_mid.x");
    w.sheet(3)->choiceField(1164)->setCurrentText("mars.jpg");
    w.sheet(3)->choiceField(1173)->setCurrentText(name);
}

// Runs f on the wizard once the manager has opened it.
void onWizard(std::function<void(CCfgObject&)> f) {
    QTimer::singleShot(0, [f] {
        auto* w = qobject_cast<CCfgObject*>(QApplication::activeModalWidget());
        ASSERT_NE(w, nullptr);
        f(*w);
        w->button(QWizard::FinishButton)->click();
    });
}

class WizardToSimulator : public LauncherTest {};

TEST_F(WizardToSimulator, PlanetWithRingAndMoonFliesTheOrbitTheWizardPredicted) {
    centreOnSun();
    AnyModalAnswerer answers;
    QString planetPreview;
    {
        CCfgManagerDlg manager;
        manager.findChild<QComboBox*>("configurationName")->setEditText("Ringed planet");
        manager.findChild<QComboBox*>("recordingTitle")->setEditText("Ring flight");
        manager.findChild<QComboBox*>("screenshotTitle")->setEditText("Ring pictures");
        manager.selectedList()->selectAll();
        manager.removeFromList();
        manager.availableList()->selectRows({launchertest::availableIndex(manager, "Sun")});
        manager.appendObjects();

        // The planet, orbiting Ref-No 1 (the Sun), with a ring.
        for (QRadioButton* r : manager.findChildren<QRadioButton*>())
            if (r->text() == "Planet") r->setChecked(true);
        onWizard([&](CCfgObject& w) {
            enterOrbit(w, {0, 0, 0}, kPlanetDistanceKm);
            enterBody(w, 5.5, 25, 30000, "Ringworld");
            auto* last = static_cast<CCfgPltOri*>(w.sheet(3));
            last->ringCheck()->setChecked(true);
            setField(w, 3, 1067, 40000);
            setField(w, 3, 1162, 70000);
            last->choiceField(1161)->setCurrentText("saturn_ring.png");
            last->refreshOrbitPreview();
            planetPreview = last->orbitPreviewText();
        });
        manager.createNewObject();
        ASSERT_GE(launchertest::availableIndex(manager, "Ringworld"), 0);
        manager.availableList()->selectRows({launchertest::availableIndex(manager, "Ringworld")});
        manager.appendObjects();

        // The moon, made orbiting Ref-No 1 by the wizard, then given to the planet (Ref-No 2) in
        // the orbit dialog.
        onWizard([&](CCfgObject& w) {
            enterOrbit(w, {static_cast<float>(kPlanetDistanceKm), 0, 0}, kMoonDistanceKm);
            enterBody(w, 1, 20, 500, "Shepherd");
        });
        manager.createNewObject();
        manager.availableList()->selectRows({launchertest::availableIndex(manager, "Shepherd")});
        manager.appendObjects();
        manager.selectedList()->selectRows({2});
        QTimer::singleShot(0, [] {
            auto* dlg = qobject_cast<CCfgOrbitDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dlg, nullptr);
            dlg->refNoEdit()->setText("2");
            dlg->saveAndQuitButton()->click();
        });
        manager.changeOrbit();

        manager.availableList()->selectRows({launchertest::availableIndex(manager, "Observer")});
        manager.appendObjects();
        manager.updateControls();
        EXPECT_EQ(launchertest::shownSelectedRows(manager),
                  (std::vector<std::string>{"Sun 1 none Star", "Ringworld 2 1 Planet", "Shepherd 3 2 Planet",
                                            "Observer 4 none Observer"}));
        answers.clear();
        manager.checkConsistency();
        EXPECT_EQ(answers.texts(), std::vector<std::string>{"\n\nThe 'Selected objects'-list seems to be OK."});
        manager.save();
    }
    ASSERT_EQ(testdata::readText(dir() + "Configurations/Ringed planet.cfg"),
              "Sun.cfg\nRingworld.cfg\nShepherd.cfg\nObserver.cfg\n-999\n");
    ASSERT_EQ(testdata::readText(dir() + "configfile.cfg"), "Ringed planet\n-999\n");

    // The prediction the wizard showed, and the same figures from the saved files.
    std::string unreadable;
    auto objects = readListObjects({"Sun", "Ringworld", "Shepherd", "Observer"}, dir(), unreadable);
    ASSERT_TRUE(objects) << unreadable;
    OrbitPrediction predicted = predictOrbit(startingState(*objects), 1);
    ASSERT_TRUE(predicted.ok) << predicted.failure;
    const double period = predicted.figures.periodS;
    for (const std::string& line : orbitFigureLines(predicted.figures))
        EXPECT_TRUE(planetPreview.contains(QString::fromStdString(line))) << line << "\n" << planetPreview.toStdString();

    const int frames = static_cast<int>(std::ceil(1.02 * period / kTimeStepS));
    const std::string trace = dir() + "trace.csv";
    testrun::RunResult run = testrun::run(
        CORVANE_PATH,
        {"--no-render", "--fixed-dt", std::to_string(kTimeStepS), "--frames", std::to_string(frames), "--trace",
         trace, " ", dir() + "|1"},
        dir(), {"XDG_RUNTIME_DIR=" + tools.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    // The time at which the planet has swept a full turn about the Sun, and its distance there.
    const std::vector<TracePoint> track = relativeTrack(trace, 1);
    ASSERT_GT(track.size(), 100u);
    double swept = 0, turnTime = -1, turnDistance = 0;
    for (size_t i = 1; i < track.size() && turnTime < 0; ++i) {
        const TracePoint& a = track[i - 1];
        const TracePoint& b = track[i];
        const double cross = a.y * b.z - a.z * b.y, cz = a.x * b.y - a.y * b.x, cx = a.z * b.x - a.x * b.z;
        const double step = std::atan2(std::sqrt(cross * cross + cz * cz + cx * cx), a.x * b.x + a.y * b.y + a.z * b.z);
        if (swept + step >= 2 * M_PI) {
            const double f = (2 * M_PI - swept) / step;
            turnTime = a.t + f * (b.t - a.t);
            turnDistance = std::hypot(std::hypot(b.x, b.y), b.z);
        }
        swept += step;
    }
    ASSERT_GT(turnTime, 0) << "the planet did not complete a turn";
    EXPECT_NEAR(turnTime / period, 1.0, 0.01) << "simulated " << turnTime << " s, predicted " << period << " s";
    EXPECT_NEAR(turnDistance / predicted.figures.semiMajorAxisKm, 1.0, 0.01);
    // The moon is still bound to the planet after a full turn of the planet.
    const std::vector<TracePoint> moon = relativeTrack(trace, 2);
    const std::vector<TracePoint> planet = relativeTrack(trace, 1);
    const TracePoint& m = moon.back();
    const TracePoint& p = planet.back();
    EXPECT_LT(std::hypot(std::hypot(m.x - p.x, m.y - p.y), m.z - p.z), 2 * kMoonDistanceKm);
}

}  // namespace
