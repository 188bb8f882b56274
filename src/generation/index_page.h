#pragma once
// The index page: every chosen directory of the run with links to its
// thumbnail pages, in one table or one table per group.
namespace galvora {

// Writes the index page once after the directory loop. A page file that
// cannot be made or put into place shows "ErrHTMLCreateFile" and the page is
// abandoned.
void indexseite_schreiben();

}  // namespace galvora
