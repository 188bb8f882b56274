#pragma once
// The generation run: turns the directory selection that the start routine
// prepared (lauf_auftrag) into clones, thumbnails and pages.
#include <functional>

namespace galvora {

struct Laufzustand;

// Runs the whole generation on the calling thread and returns when the run
// has ended, completed or been cancelled. Its outcome is what it wrote and
// what it reported through the run port and message boxes.
void erzeugung_durchfuehren();

// The second half of the run joins here: the directory and picture loop
// (phase 14) and the run completion (phase 15: index and frame pages, browser,
// statistics, end state). The completion is also reached when phase 8 could
// not prepare the output; `pages` is false then (and after an error that
// broke the run off), so that only the statistics and the end state follow.
struct Laufabschnitte {
    std::function<void(Laufzustand&)> verzeichnisschleife;
    std::function<void(Laufzustand&, bool pages)> abschluss;
};
Laufabschnitte& laufabschnitte();

}  // namespace galvora
