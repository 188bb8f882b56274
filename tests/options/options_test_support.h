#pragma once
// Shared set-up of the options tests: the generation tests' private folders,
// German texts, default settings and recording message port, plus a fresh
// options dialog wired to the profile operations, a dialog port with
// scripted answers, and helpers that act as the user does.
#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/options_handoff.h"
#include "foundation/messages.h"
#include "generation/generation_test_support.h"
#include "options/hand_off.h"
#include "options/options_dialog.h"
#include "options/page_services.h"
#include "platform/dialog_port.h"
#include "profile/profile_hooks.h"
#include "profile/profiles.h"

namespace galvora::testing {

// Answers the common dialogs from queues (a colour of -1 is a cancel) and
// remembers what was asked.
struct ScriptedDialogPort : DialogPort {
    ScriptedDialogPort() { set_dialog_port(this); }
    ~ScriptedDialogPort() override { set_dialog_port(nullptr); }
    ScriptedDialogPort(const ScriptedDialogPort&) = delete;
    ScriptedDialogPort& operator=(const ScriptedDialogPort&) = delete;

    std::string choose_file(const FileDialogRequest& request) override {
        file_asks.push_back(request);
        return take(files, std::string());
    }
    std::string choose_folder(const std::string& start, const std::string&, const std::string&) override {
        folder_starts.push_back(start);
        return take(folders, std::string());
    }
    std::optional<uint32_t> choose_colour(const std::string& title, uint32_t initial) override {
        colour_titles.push_back(title);
        colour_initials.push_back(static_cast<int32_t>(initial));
        const int32_t answer = take(colours, -1);
        if (answer == -1) return std::nullopt;
        return static_cast<uint32_t>(answer);
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
    std::vector<FileDialogRequest> file_asks;
    std::vector<std::string> folder_starts;
};

class OptionsTest : public GenerationTest {
protected:
    void SetUp() override {
        GenerationTest::SetUp();
        optionen_freigeben();
        page_services_reset();
        optionen_anmelden();
        TreeRebuildRequested = false;
        ProfileSwitched = false;
        ProfileModules().clear();
        ScriptFileModules().clear();
        ScriptFileModules().verändert_reset();
        DirSortKind = 1;
        DirSortDirection = 0;
        profil_laden();
        port.boxes.clear();
    }
    void TearDown() override {
        optionen_freigeben();
        page_services_reset();
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

    // A page of the dialog as its own class.
    template <class Page>
    Page& page_of(PageSlot slot) {
        auto* page = dynamic_cast<Page*>(dialog().seite(slot));
        if (page == nullptr) throw std::logic_error("no such page in the slot");
        return *page;
    }

    // The user types a text into a box and leaves it.
    static void type_and_leave(OptionPage& page, PageControl& box, const std::string& text) {
        page.user_text(box, text);
        page.user_focus_out(box);
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
