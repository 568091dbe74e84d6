// Orbit figures as text.
#include "orbit_preview.h"

#include <QStringList>

QString orbitPreviewText(const OrbitPrediction& prediction, const std::string& primaryName) {
    if (!prediction.ok)
        return QString::fromStdString("No orbit to show: " + prediction.failure);
    QStringList lines;
    lines << QString::fromStdString("Orbit around " + primaryName + " at the start:");
    for (const std::string& line : orbitFigureLines(prediction.figures))
        lines << QString::fromStdString(line);
    return lines.join('\n');
}

QString candidateOrbitText(const OrbitListView& list, const SimObject& candidate, int orbitedRefNo) {
    if (orbitedRefNo < 1) return "It orbits no other object.";
    const OrbitPrediction p =
        predictCandidateOrbit(list.names, list.dataDirectory, candidate, orbitedRefNo);
    const std::string primary = static_cast<size_t>(orbitedRefNo) <= list.names.size()
                                    ? list.names[static_cast<size_t>(orbitedRefNo) - 1]
                                    : std::string();
    return orbitPreviewText(p, primary);
}
