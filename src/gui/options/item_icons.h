#pragma once
// The small pictures beside the items of the pages' lists: the kinds of
// profile ("default", "system", "user"), the module states ("rot", "gold",
// "grün"), the language list's own pictures ("Dialog": the built-in
// language's flag; "Unknown") and flag pictures from files ("file:" and the
// path).
#include <QIcon>

#include <string>

namespace galvora {

// The picture of a key; an empty icon for an empty or unknown key.
QIcon item_icon(const std::string& key);

}  // namespace galvora
