// The common rules by which a page's controls show and write their values.
#include <algorithm>

#include "app/common_dialogs.h"
#include "foundation/dialog_helpers.h"
#include "foundation/path_helpers.h"
#include "options/option_page.h"

namespace galvora {

namespace {

void call(const std::function<void()>& after) {
    if (after) after();
}

}  // namespace

void OptionPage::fill_check_box(PageControl& box, const ValueTarget& target) {
    const std::optional<int16_t> value = entry_as_int16(target.read());
    if (value && *value >= 0 && *value <= 2) {
        set_value(box, *value);
    } else {
        // A value the box cannot show: shown unticked, nothing written.
        box.state().value = 0;
    }
}

void OptionPage::bind_check_box(PageControl& box, ValueTarget target, After after) {
    fills_.push_back([this, &box, target] { fill_check_box(box, target); });
    on(box, ControlEvent::Click, [target, after](ControlEventArgs& args) {
        target.write(checkbox_text(args.control.state().value));
        call(after);
    });
}

void OptionPage::bind_text(PageControl& box, ValueTarget target, WriteOn when, After after) {
    fills_.push_back([this, &box, target] { set_text(box, target.read()); });
    if (when != WriteOn::LostFocus) {
        on(box, ControlEvent::Change, [target, after](ControlEventArgs& args) {
            target.write(args.control.state().text);
            call(after);
        });
    }
    if (when != WriteOn::Change) {
        on(box, ControlEvent::LostFocus, [target, after](ControlEventArgs& args) {
            target.write(args.control.state().text);
            call(after);
        });
    }
}

void OptionPage::bind_name_box(PageControl& box, ValueTarget target, NameRule rule, After after) {
    fills_.push_back([this, &box, target] { set_text(box, target.read()); });
    on(box, ControlEvent::Change, [this, target, rule, after](ControlEventArgs& args) {
        const std::string& text = args.control.state().text;
        if (!text.empty() && !dateiname_gueltig(text)) message(rule.invalid_key);
        if (rule.requests_tree_rebuild) request_tree_rebuild();
        target.write(text);
        call(after);
    });
    on(box, ControlEvent::LostFocus, [this, target, rule, after](ControlEventArgs& args) {
        PageControl& control = args.control;
        if (dateiname_gueltig(control.state().text)) return;
        const std::string& key =
            rule.missing_key_only_when_empty && !control.state().text.empty() ? rule.invalid_key : rule.missing_key;
        if (rule.message_first) message(key);
        set_text(control, rule.default_name);
        if (rule.requests_tree_rebuild) request_tree_rebuild();
        target.write(control.state().text);
        call(after);
        if (!rule.message_first) message(key);
    });
}

void OptionPage::bind_number_box(PageControl& box, ValueTarget target, MinimumRule rule, After after) {
    fills_.push_back([this, &box, target] { set_text(box, target.read()); });
    on(box, ControlEvent::Change, [target, after](ControlEventArgs& args) {
        target.write(args.control.state().text);
        call(after);
    });
    on(box, ControlEvent::LostFocus, [target, rule](ControlEventArgs& args) {
        // Putting the fallback into the box runs its Change handler, which
        // writes it and runs `after`; the rule's own write changes nothing then.
        textfeld_minimum_pruefen(args.control, rule.minimum, rule.fallback, target.index(), rule.key,
                                 [&target](int, const std::string& value) { target.write(value); });
    });
}

void OptionPage::bind_range_box(PageControl& box, ValueTarget target, RangeRule rule, After after) {
    fills_.push_back([this, &box, target] { set_text(box, target.read()); });
    auto check = [this, target, rule, after](PageControl& control) {
        const std::optional<int32_t> number = text_zu_long(control.state().text);
        const int64_t value = number ? static_cast<int64_t>(*number) : static_cast<int64_t>(rule.minimum) - 1;
        if (value < rule.minimum || value > rule.maximum) {
            const std::optional<int32_t> old = text_zu_long(target.read());
            set_text(control, std::to_string(old.value_or(rule.minimum)));
            message(rule.key, 48, {std::to_string(rule.minimum), std::to_string(rule.maximum)});
        }
        target.write(std::to_string(text_zu_long(control.state().text).value_or(rule.minimum)));
        call(after);
    };
    on(box, ControlEvent::KeyDown, [check](ControlEventArgs& args) {
        if (args.key != kKeyReturn) return;
        check(args.control);
        args.consumed = true;
    });
    on(box, ControlEvent::LostFocus, [check](ControlEventArgs& args) { check(args.control); });
}

void OptionPage::bind_option_group(std::string_view name, ValueTarget target,
                                   std::vector<std::pair<int, int32_t>> codes, After after) {
    std::vector<std::pair<PageControl*, int32_t>> buttons;
    for (const auto& [index, code] : codes) buttons.emplace_back(&control(name, index), code);
    bind_option_group(std::move(buttons), std::move(target), std::move(after));
}

void OptionPage::join_option_group(const std::string& group, std::initializer_list<PageControl*> buttons) {
    for (PageControl* button : buttons) button->set_group(group);
}

void OptionPage::bind_option_group(std::vector<std::pair<PageControl*, int32_t>> buttons, ValueTarget target,
                                   After after, bool by_text) {
    fills_.push_back([this, buttons, target, by_text] {
        const std::string stored = target.read();
        const std::optional<int16_t> value = by_text ? std::nullopt : entry_as_int16(stored);
        for (const auto& [button, code] : buttons) {
            if (by_text ? stored == std::to_string(code) : (value && *value == code)) {
                set_value(*button, 1);
                return;
            }
        }
        // No button stands for the value: none is chosen and nothing is written.
        for (const auto& [button, code] : buttons) button->state().value = 0;
    });
    for (const auto& [button, code] : buttons) {
        const int32_t written = code;
        on(*button, ControlEvent::Click, [target, written, after](ControlEventArgs&) {
            target.write(std::to_string(written));
            call(after);
        });
    }
}

void OptionPage::bind_option_group(std::string_view name, ValueTarget target, After after) {
    std::vector<std::pair<int, int32_t>> codes;
    for (const auto& control : controls_)
        if (control->name() == name && control->control_kind() == PageControlKind::OptionButton)
            codes.emplace_back(control->index(), control->index());
    bind_option_group(name, std::move(target), std::move(codes), std::move(after));
}

void OptionPage::bind_slider(PageControl& slider, ValueTarget target, After after) {
    fills_.push_back([this, &slider, target] {
        ControlState& state = slider.state();
        const std::optional<int32_t> value = entry_as_int32(target.read());
        if (value && *value >= state.minimum && *value <= state.maximum) {
            set_value(slider, *value);
        } else {
            // Shown at the nearest end; the stored value stays as it is.
            state.value = std::clamp(value.value_or(state.minimum), state.minimum, state.maximum);
        }
    });
    on(slider, ControlEvent::Change, [target, after](ControlEventArgs& args) {
        target.write(std::to_string(args.control.state().value));
        call(after);
    });
}

void OptionPage::bind_colour_button(PageControl& button, PageControl& field, ValueTarget target,
                                    std::string title_key, After after) {
    fills_.push_back([&field, target] {
        if (std::optional<uint32_t> colour = colour_from_text(target.read())) field.state().back_colour = *colour;
    });
    on(button, ControlEvent::Click, [this, &field, target, title_key, after](ControlEventArgs&) {
        const uint32_t shown = field.state().back_colour;
        const int32_t chosen = ShowColorDialog(text_of(title_key), static_cast<int32_t>(shown));
        if (chosen == -1 || static_cast<uint32_t>(chosen) == shown) return;
        field.state().back_colour = static_cast<uint32_t>(chosen);
        target.write(colour_text(static_cast<uint32_t>(chosen)));
        call(after);
    });
}

void OptionPage::bind_bit_set(std::vector<std::pair<PageControl*, int32_t>> boxes, ValueTarget target, After after) {
    fills_.push_back([boxes, target] {
        const int32_t value = entry_as_int32(target.read()).value_or(0);
        for (const auto& [box, bit] : boxes) box->state().value = (value & bit) != 0 ? 1 : 0;
    });
    for (const auto& [box, bit] : boxes) {
        on(*box, ControlEvent::Click, [boxes, target, after](ControlEventArgs&) {
            int32_t sum = 0;
            for (const auto& [member, member_bit] : boxes)
                if (member->state().value == 1) sum += member_bit;
            target.write(std::to_string(sum));
            call(after);
        });
    }
}

void OptionPage::bind_folder_button(PageControl& button, PageControl& box, FolderRule rule) {
    on(button, ControlEvent::Click, [this, &box, rule](ControlEventArgs&) {
        const std::string answer = BrowseForFolder(rule.root, box.state().text, text_of(rule.prompt_key),
                                                   text_of(rule.caption_key), rule.flags);
        if (!answer.empty()) set_text(box, answer);
    });
}

void OptionPage::fill_step(std::function<void()> step) { fills_.push_back(std::move(step)); }

void OptionPage::bind_master_switch(PageControl& box, ValueTarget target, std::vector<PageEvent> raises,
                                    After after) {
    master_ = &box;
    master_target_ = target;
    if (raises.empty()) raises.push_back(PageEvent::BaumAnpassen);
    fills_.push_back([this, &box, target] { fill_check_box(box, target); });
    on(box, ControlEvent::Click, [this, target, raises, after](ControlEventArgs& args) {
        target.write(checkbox_text(args.control.state().value));
        call(after);
        for (PageEvent event : raises) raise(event);
        InitDialog();
    });
}

}  // namespace galvora
