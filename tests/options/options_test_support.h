#pragma once
// Shared set-up of the options tests: the generation tests' private folders,
// German texts, default settings and recording message port, plus a fresh
// options dialog wired to the profile operations, a dialog port with
// scripted answers, and helpers that act as the user does.
#include <deque>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "foundation/messages.h"
#include "generation/generation_test_support.h"
#include "options/hand_off.h"
#include "options/options_dialog.h"
#include "platform/dialog_port.h"
#include "profile/profile_hooks.h"
#include "profile/profiles.h"

namespace galvora::testing {

// Answers the common dialogs from queues and remembers what was asked.
struct ScriptedDialogPort : DialogPort {
    ScriptedDialogPort() { set_dialog_port(this); }
    ~ScriptedDialogPort() override { set_dialog_port(nullptr); }
    ScriptedDialogPort(const ScriptedDialogPort&) = delete;
    ScriptedDialogPort& operator=(const ScriptedDialogPort&) = delete;

    struct FileAsk {
        bool save;
        std::string filter;
        std::string proposed;
        std::string title;
        int32_t flags;
    };
    int32_t ShowColorDialog(std::string_view title, int32_t initial) override {
        colour_titles.emplace_back(title);
        colour_initials.push_back(initial);
        return take(colours, -1);
    }
    std::string ShowFileDialog(bool save, std::string_view filter, std::string_view proposed, std::string_view,
                               std::string_view title, int32_t flags) override {
        file_asks.push_back({save, std::string(filter), std::string(proposed), std::string(title), flags});
        return take(files, std::string());
    }
    std::string BrowseForFolder(int32_t, std::string_view start, std::string_view, std::string_view,
                                int32_t) override {
        folder_starts.emplace_back(start);
        return take(folders, std::string());
    }

    template <class T>
    static T take(std::deque<T>& queue, T fallback) {
        if (queue.empty()) return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }

    std::deque<int32_t> colours;
    std::deque<std::string> files;
    std::deque<std::string> folders;
    std::vector<std::string> colour_titles;
    std::vector<int32_t> colour_initials;
    std::vector<FileAsk> file_asks;
    std::vector<std::string> folder_starts;
};

class OptionsTest : public GenerationTest {
protected:
    void SetUp() override {
        GenerationTest::SetUp();
        optionen_freigeben();
        optionen_anmelden();
        options_hand_off() = OptionsHandOff{};
        ProfileModules().clear();
        ScriptFileModules().clear();
        DirSortKind = 1;
        DirSortDirection = 0;
        profil_laden();
        port.boxes.clear();
    }
    void TearDown() override {
        optionen_freigeben();
        profile_hooks().options_dialog_reload = nullptr;
        GenerationTest::TearDown();
    }

    Optionen& dialog() { return optionen(); }
    PageControl& control(const std::string& name, int index = -1) { return dialog().control(name, index); }

    // Loads a profile that differs from the defaults in these entries, as
    // reading a profile file and applying it does.
    void load(const std::vector<std::pair<int, std::string>>& entries) {
        for (const auto& [index, value] : entries) geladene_Profileinstellungen()[static_cast<size_t>(index)].value = value;
        profil_anwenden();
        port.boxes.clear();
    }

    // The user clicks a node of the page tree.
    void click_node(int box) { dialog().Optionen_Baum_NodeClick(PageTree::key_of(box)); }

    // The keys of the tree's nodes, parents before children.
    std::vector<std::string> node_keys() {
        std::vector<std::string> keys;
        for (const PageTreeNode* n : dialog().baum().in_order()) keys.push_back(n->key);
        return keys;
    }

    // The text a message box shows for a key of section "Msg".
    static std::string msg(const char* key, const std::vector<std::string>& arguments = {}) {
        return platzhalter_ersetzen(inq("Msg", key), arguments);
    }

    ScriptedDialogPort dialogs;
};

}  // namespace galvora::testing
