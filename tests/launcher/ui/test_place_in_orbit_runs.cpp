// End to end: a small moon placed by its elements in the object wizard ("Place in orbit..." on
// either first page), written, added to the delivered configuration and flown by the simulator
// without a window for one period. The preview the wizard shows, the elements asked for and the
// simulator's trace agree: a circular orbit 400 km above Earth, and an orbit of eccentricity 0.5
// and inclination 30 degrees about Saturn.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "any_modal_answerer.h"
#include "cfg_object_wizard.h"
#include "integrator.h"
#include "launcher_fixture.h"
#include "place_in_orbit_dlg.h"
#include "run_program.h"
#include "starting_state.h"
#include "trace_track.h"

using launchertest::AnyModalAnswerer;
using launchertest::LauncherTest;
using launchertest::relativeTrack;
using launchertest::TracePoint;

namespace {

constexpr double kDeg = std::numbers::pi / 180;
const std::vector<std::string> kDelivered = {"Sun",     "Mercury", "Venus",  "Earth",   "Moon",    "Mars",
                                             "Jupiter", "Saturn",  "Uranus", "Neptune", "Observer"};

struct PlacedMoon {
    const char* name;
    int parentRefNo;
    bool orbitingPage;  // the two-point first page, else the position-and-velocity page
    double periapsisAltitudeKm, eccentricity, inclinationDeg, nodeDeg, periapsisArgDeg;
    double trueAnomalyDeg;  // < 0: "At periapsis"
    double timeStepS;
    double expectedPeriodMin;  // 0: not fixed in advance
    double periodTolerance;    // relative
    double altitudeToleranceKm, altitudeToleranceRelative;
};

// Fills and accepts the place-in-orbit dialog once it is open.
void placeWhenAsked(const PlacedMoon& m) {
    QTimer::singleShot(0, [m] {
        auto* dlg = qobject_cast<CPlaceInOrbitDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->parentChoice()->setCurrentIndex(dlg->parentChoice()->findData(m.parentRefNo));
        dlg->field("size")->setText(QString::number(m.periapsisAltitudeKm));
        dlg->field("eccentricity")->setText(QString::number(m.eccentricity));
        dlg->field("inclination")->setText(QString::number(m.inclinationDeg));
        dlg->field("node")->setText(QString::number(m.nodeDeg));
        dlg->field("periapsisArgument")->setText(QString::number(m.periapsisArgDeg));
        if (m.trueAnomalyDeg >= 0) {
            for (QRadioButton* r : dlg->findChildren<QRadioButton*>())
                if (r->text() == "At true anomaly") r->setChecked(true);
            dlg->field("trueAnomaly")->setText(QString::number(m.trueAnomalyDeg));
        }
        dlg->findChild<QPushButton*>("place")->click();
    });
}

class PlaceInOrbitRuns : public LauncherTest {
protected:
    // The moon made in the wizard; returns the text the first page showed after the placement.
    QString makeMoon(const PlacedMoon& m) {
        WizardSetup s;
        s.type = WizardObjectType::Planet;
        s.orbiting = m.orbitingPage;
        s.orbitedRefNo = m.orbitingPage ? 1 : 0;
        s.suggestedParentRefNo = m.parentRefNo;
        s.dataDirectory = dir();
        s.list = {kDelivered, dir()};
        QString preview;
        QTimer::singleShot(0, [&] {
            auto* w = qobject_cast<CCfgObject*>(QApplication::activeModalWidget());
            ASSERT_NE(w, nullptr);
            placeWhenAsked(m);
            w->sheet(1)->findChild<QPushButton*>("placeInOrbit")->click();
            preview = w->sheet(1)->findChild<QLabel*>("placementPreview")->text();
            w->next();
            w->sheet(2)->numberField(1146)->setText("10");
            w->sheet(2)->numberField(1147)->setText("10");
            w->next();
            w->sheet(3)->choiceField(1163)->setCurrentText("sphere_mid.x");
            w->sheet(3)->choiceField(1164)->setCurrentText("mars.jpg");
            w->sheet(3)->choiceField(1173)->setCurrentText(m.name);
            w->button(QWizard::FinishButton)->click();
        });
        std::vector<AvailableRow> available;
        std::vector<SelectedRow> selected;
        EXPECT_TRUE(runObjectWizard(s, available, selected, nullptr));
        return preview;
    }
    AnyModalAnswerer answers;
};

TEST_F(PlaceInOrbitRuns, PreviewAndSimulatorAgreeOnThePlacedOrbit) {
    const std::vector<PlacedMoon> moons = {
        {"Low moon", 4, true, 400, 0, 51.6, 30, 0, 80, 1, 92.58, 0.002, 1, 0},
        {"Saturn moon", 8, false, 50000, 0.5, 30, 70, 45, -1, 10, 0, 0.005, 0, 0.005},
    };
    for (const PlacedMoon& m : moons) {
        SCOPED_TRACE(m.name);
        const QString shown = makeMoon(m);
        ASSERT_TRUE(testdata::exists(dir() + "Objects/" + m.name + ".cfg"));

        // The moon stands above the observer; the preview of the saved files.
        std::vector<std::string> names = kDelivered;
        names.insert(names.end() - 1, m.name);
        std::string config;
        for (const std::string& name : names) config += name + ".cfg\n";
        testdata::writeText(dir() + "Configurations/Placed.cfg", config + "-999\n");
        testdata::writeText(dir() + "configfile.cfg", "Placed\n-999\n");
        std::string unreadable;
        auto objects = readListObjects(names, dir(), unreadable);
        ASSERT_TRUE(objects) << unreadable;
        const size_t moon = names.size() - 2;
        EXPECT_EQ((*objects)[moon].velocityKmPerS.x == kNaFloat, m.orbitingPage)
            << "two points where they suffice, a velocity otherwise";
        const StartingState state = startingState(*objects);
        const OrbitPrediction predicted = predictOrbit(state, moon);
        ASSERT_TRUE(predicted.ok) << predicted.failure;
        const OrbitFigures& f = predicted.figures;
        for (const std::string& line : orbitFigureLines(f))
            EXPECT_TRUE(shown.contains(QString::fromStdString(line))) << line << "\n" << shown.toStdString();
        // The preview gives the elements asked for.
        EXPECT_NEAR(f.periapsisAltitudeKm(), m.periapsisAltitudeKm, std::max(1.0, 1e-3 * m.periapsisAltitudeKm));
        EXPECT_NEAR(f.eccentricity, m.eccentricity, std::max(1e-4, 1e-3 * m.eccentricity));
        if (m.expectedPeriodMin > 0) {
            EXPECT_NEAR(f.periodS / 60 / m.expectedPeriodMin, 1, m.periodTolerance);
        }

        // One period and a little more in the simulator.
        const int frames = static_cast<int>(std::ceil(1.02 * f.periodS / m.timeStepS));
        const std::string trace = dir() + "trace.csv";
        testrun::RunResult run = testrun::run(
            CORVANE_PATH,
            {"--no-render", "--fixed-dt", std::to_string(m.timeStepS), "--frames", std::to_string(frames), "--trace",
             trace, " ", dir() + "|1"},
            dir(), {"XDG_RUNTIME_DIR=" + tools.path()});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::vector<TracePoint> track = relativeTrack(trace, static_cast<int>(moon), m.parentRefNo - 1);
        ASSERT_GT(track.size(), 100u);

        // The period: the time of one full turn about the parent from the first traced point
        // (mission time goes on from the time the last run saved); the altitudes: the nearest
        // and farthest distances over that turn.
        double swept = 0, turnTime = -1, nearest = INFINITY, farthest = 0;
        for (size_t i = 1; i < track.size() && turnTime < 0; ++i) {
            const TracePoint& a = track[i - 1];
            const TracePoint& b = track[i];
            const Vec3d pa{a.x, a.y, a.z}, pb{b.x, b.y, b.z};
            const double step = std::atan2(length(cross(pa, pb)), dot(pa, pb));
            if (swept + step >= 2 * std::numbers::pi)
                turnTime = a.t + (2 * std::numbers::pi - swept) / step * (b.t - a.t) - track.front().t;
            swept += step;
            nearest = std::min(nearest, length(pb));
            farthest = std::max(farthest, length(pb));
        }
        ASSERT_GT(turnTime, 0) << "no full turn";
        std::printf("%s: period preview %.2f min, simulator %.2f min; periapsis altitude preview %.3f km, "
                    "simulator %.3f km; apoapsis altitude preview %.3f km, simulator %.3f km\n",
                    m.name, f.periodS / 60, turnTime / 60, f.periapsisAltitudeKm(), nearest - f.primaryRadiusKm,
                    f.apoapsisAltitudeKm(), farthest - f.primaryRadiusKm);
        EXPECT_NEAR(turnTime / f.periodS, 1, m.periodTolerance);
        if (m.expectedPeriodMin > 0) {
            EXPECT_NEAR(turnTime / 60 / m.expectedPeriodMin, 1, m.periodTolerance);
        }
        const double radius = f.primaryRadiusKm;
        const double periTolerance = std::max(m.altitudeToleranceKm, m.altitudeToleranceRelative * f.periapsisAltitudeKm());
        const double apoTolerance = std::max(m.altitudeToleranceKm, m.altitudeToleranceRelative * f.apoapsisAltitudeKm());
        EXPECT_NEAR(nearest - radius, f.periapsisAltitudeKm(), periTolerance);
        EXPECT_NEAR(farthest - radius, f.apoapsisAltitudeKm(), apoTolerance);

        // The elements after the turn: inclination against the plane they were given in.
        const TracePoint& end = track.back();
        const SimObject& parent = state.objects[static_cast<size_t>(m.parentRefNo - 1)];
        const double gm = kGravityKm3PerKgS2 * static_cast<double>(parent.massKg);
        const OrbitElements after =
            elementsFromState({{end.x, end.y, end.z}, {end.vx, end.vy, end.vz}}, gm, referencePlaneFor(orbitParentOf(parent)));
        std::printf("%s after one turn: inclination %.4f deg, eccentricity %.5f, periapsis altitude %.3f km\n",
                    m.name, after.inclinationRad / kDeg, after.eccentricity, after.periapsisKm() - radius);
        EXPECT_NEAR(after.inclinationRad / kDeg / m.inclinationDeg, 1, 0.005);
        EXPECT_NEAR(after.eccentricity, m.eccentricity, std::max(1e-3, 0.005 * m.eccentricity));
        EXPECT_NEAR(after.periapsisKm() - radius, m.periapsisAltitudeKm, periTolerance);
        std::filesystem::remove(trace);
    }
}

}  // namespace
