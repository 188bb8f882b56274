#pragma once
// Run completion: the index and frame pages, the browser, the statistics
// line and the end state of the window.
namespace galvora {

struct Laufzustand;

// `pages` is false when the run was broken off before or inside its loop (a
// folder or page file could not be made); a cancelled run writes no pages
// either. The statistics and the end state follow in every case.
void lauf_abschliessen(Laufzustand& run, bool pages);

// Installs the directory loop and the completion as the run's later phases.
void seitenerzeugung_anmelden();

}  // namespace galvora
