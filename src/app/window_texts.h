#pragma once
// The design captions of a window: the German texts its controls carry when
// it is built, keyed by each control's tag. The view puts them on its widgets
// and records them in the built-in German language (ZNLanguage::AddForm);
// the window caption has the tag "Title".
#include <string>
#include <vector>

namespace galvora {

struct Designtext {
    const char* tag;
    const char* text;  // the built-in German caption
};

// Records the captions in the built-in German language, section = the
// window's name; a text that is there already stays (the first one wins).
void designtexte_aufnehmen(const char* fenster, const std::vector<Designtext>& texte);

// The current language's caption of a window, by tag.
std::string fenstertext(const char* fenster, const char* tag);

}  // namespace galvora
