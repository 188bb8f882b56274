#pragma once
// The frame page: the gallery's start page, a frame set given by a template,
// with no body of its own.
namespace galvora {

// Writes the frame page once after the index page. A page file that cannot be
// made or put into place shows "ErrHTMLCreateFile" and the page is abandoned.
void startseite_schreiben();

}  // namespace galvora
