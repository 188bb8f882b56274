#include "options/option_page.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "foundation/language.h"
#include "foundation/log.h"
#include "foundation/messages.h"
#include "options/hand_off.h"
#include "profile/settings_table.h"

namespace galvora {

namespace {

int& filling_depth() {
    static int depth = 0;
    return depth;
}

bool has_caption(PageControlKind kind) {
    switch (kind) {
        case PageControlKind::Label:
        case PageControlKind::CheckBox:
        case PageControlKind::OptionButton:
        case PageControlKind::Button:
        case PageControlKind::Frame:
            return true;
        default:
            return false;
    }
}

}  // namespace

// ---------------------------------------------------------------- PageControl

PageControl::PageControl(OptionPage& page, std::string name, int index, PageControlKind kind, std::string tag,
                         const WindowControl* container)
    : page_(page),
      name_(std::move(name)),
      index_(index),
      kind_(kind),
      tag_(std::move(tag)),
      container_(container) {}

std::string PageControl::id() const { return index_ < 0 ? name_ : name_ + "(" + std::to_string(index_) + ")"; }

ControlKind PageControl::kind() const {
    if (kind_ == PageControlKind::Frame) return ControlKind::Frame;
    if (kind_ == PageControlKind::PictureBox) return ControlKind::PictureBox;
    return ControlKind::Other;
}

std::optional<std::string> PageControl::caption() const {
    if (!has_caption(kind_)) return std::nullopt;
    return state_.caption;
}

void PageControl::set_caption(const std::string& text) {
    if (has_caption(kind_)) state_.caption = text;
}

void PageControl::set_text(const std::string& text) { page_.set_text(*this, text); }

// ---------------------------------------------------------------- ValueTarget

ValueTarget ValueTarget::entry(int index) {
    check_profile_index(index, "ValueTarget");
    ValueTarget target;
    target.index_ = index;
    return target;
}

ValueTarget ValueTarget::property(std::function<std::string()> read, std::function<void(const std::string&)> write) {
    ValueTarget target;
    target.read_ = std::move(read);
    target.write_ = std::move(write);
    return target;
}

std::string ValueTarget::read() const {
    if (index_ >= 0) return profilwert(index_);
    return read_ ? read_() : std::string();
}

void ValueTarget::write(const std::string& value) const {
    if (index_ >= 0) {
        profilwert_setzen(index_, value);
    } else if (write_) {
        write_(value);
    }
}

// ---------------------------------------------------------------- OptionPage

OptionPage::OptionPage(std::string name, double width, double height)
    : name_(std::move(name)), width_(width), height_(height) {}

OptionPage::~OptionPage() = default;

void OptionPage::InitDialog() {
    log_line(name_ + " InitDialog START");
    {
        FillScope scope;
        fill();
        apply_rules();
    }
    log_line(name_ + " InitDialog END");
    changed();
}

void OptionPage::InitLanguage() {
    log_line(name_ + " InitLaguage START");
    if (ZNLanguage* german = sprache_deutsch()) german->AddForm(*this);
    if (ZNLanguage* current = aktuelle_sprache()) current->InitForm(*this);
    language_texts();
    log_line(name_ + " InitLaguage END");
    changed();
}

void OptionPage::Move(double left, double top, double width, double height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    changed();
}

int OptionPage::event_number(PageEvent event) const {
    for (size_t i = 0; i < events_.size(); ++i)
        if (events_[i] == event) return static_cast<int>(i) + 1;
    return 0;
}

void OptionPage::connect(PageEvent event, std::function<void()> handler) {
    for (auto& [declared, existing] : connections_) {
        if (declared == event) {
            existing = std::move(handler);
            return;
        }
    }
    connections_.emplace_back(event, std::move(handler));
}

PageControl* OptionPage::find(std::string_view name, int index) const {
    for (const auto& control : controls_)
        if (control->name() == name && control->index() == index) return control.get();
    return nullptr;
}

PageControl& OptionPage::control(std::string_view name, int index) const {
    PageControl* control = find(name, index);
    if (control == nullptr)
        throw std::out_of_range(name_ + " has no control " + std::string(name) +
                                (index >= 0 ? "(" + std::to_string(index) + ")" : ""));
    return *control;
}

std::vector<WindowControl*> OptionPage::controls() {
    std::vector<WindowControl*> list;
    list.reserve(controls_.size());
    for (const auto& control : controls_) list.push_back(control.get());
    return list;
}

void OptionPage::changed() const {
    if (listener_) listener_();
}

bool OptionPage::filling() { return filling_depth() > 0; }

OptionPage::FillScope::FillScope() { ++filling_depth(); }
OptionPage::FillScope::~FillScope() { --filling_depth(); }

// ---- what the user did

void OptionPage::user_click(PageControl& control) {
    switch (control.control_kind()) {
        case PageControlKind::CheckBox:
            control.state().value = control.state().value == 1 ? 0 : 1;
            break;
        case PageControlKind::OptionButton:
            for (const auto& other : controls_)
                if (other->name() == control.name() && other.get() != &control &&
                    other->control_kind() == PageControlKind::OptionButton)
                    other->state().value = 0;
            control.state().value = 1;
            break;
        default:
            break;
    }
    run(control, ControlEvent::Click);
    changed();
}

void OptionPage::user_double_click(PageControl& control) {
    run(control, ControlEvent::DblClick);
    changed();
}

void OptionPage::user_text(PageControl& control, const std::string& text) {
    set_text(control, text);
    changed();
}

void OptionPage::user_value(PageControl& control, int32_t value) {
    set_value(control, value);
    changed();
}

void OptionPage::user_choose(PageControl& control, int32_t position) {
    control.state().value = position;
    run(control, ControlEvent::Click);
    changed();
}

void OptionPage::user_focus_in(PageControl& control) {
    run(control, ControlEvent::GotFocus);
    changed();
}

void OptionPage::user_focus_out(PageControl& control) {
    run(control, ControlEvent::LostFocus);
    changed();
}

bool OptionPage::user_key(PageControl& control, ControlEvent event, int key, int shift) {
    ControlEventArgs args{event, control, key, shift};
    run(args);
    changed();
    return args.consumed;
}

void OptionPage::user_mouse_up(PageControl& control, int button, int shift) {
    ControlEventArgs args{ControlEvent::MouseUp, control, 0, shift, button};
    run(args);
    changed();
}

void OptionPage::user_caret(PageControl& control, int32_t selection_start, int32_t selection_length) {
    control.state().selection_start = std::max<int32_t>(selection_start, 0);
    control.state().selection_length = std::max<int32_t>(selection_length, 0);
}

std::vector<std::pair<PageControl*, ViewRequest>> OptionPage::take_view_requests() {
    return std::exchange(requests_, {});
}

void OptionPage::request(PageControl& control, ViewRequest request) { requests_.emplace_back(&control, request); }

// ---- building

PageControl& OptionPage::add(PageControlKind kind, std::string name, std::string tag, std::string caption,
                             TwipRect place, const WindowControl* container, int index) {
    if (find(name, index) != nullptr) throw std::logic_error(name_ + ": control " + name + " added twice");
    auto control = std::make_unique<PageControl>(*this, std::move(name), index, kind, std::move(tag),
                                                 container != nullptr ? container : &root_);
    control->state().caption = std::move(caption);
    control->state().place = place;
    if (kind == PageControlKind::ComboBox || kind == PageControlKind::ListBox) control->state().value = -1;
    controls_.push_back(std::move(control));
    return *controls_.back();
}

void OptionPage::declare_events(std::initializer_list<PageEvent> events) {
    if (events.size() > 2) throw std::logic_error(name_ + " declares more than two events");
    events_.assign(events.begin(), events.end());
}

void OptionPage::on(PageControl& control, ControlEvent event, ControlHandler handler) {
    handlers_.push_back({&control, event, std::move(handler)});
}

void OptionPage::raise(PageEvent event) {
    if (event_number(event) == 0) return;
    for (auto& [declared, handler] : connections_) {
        if (declared == event && handler) {
            // The reaction may reload other pages, or this one, before the
            // handler that raised the event goes on.
            auto copy = handler;
            copy();
            return;
        }
    }
}

void OptionPage::run(PageControl& control, ControlEvent event) {
    ControlEventArgs args{event, control};
    run(args);
}

void OptionPage::run(ControlEventArgs& args) {
    // Handlers may add further handlers of their own (never done, but cheap to
    // allow): walk by index over a list that can grow.
    for (size_t i = 0; i < handlers_.size(); ++i) {
        if (handlers_[i].control != &args.control || handlers_[i].event != args.event) continue;
        auto handler = handlers_[i].handler;
        handler(args);
    }
}

// ---- state from code

void OptionPage::set_value(PageControl& control, int32_t value) {
    ControlState& state = control.state();
    switch (control.control_kind()) {
        case PageControlKind::OptionButton: {
            if (value == 0) {
                state.value = 0;
                return;
            }
            const bool was_chosen = state.value == 1;
            for (const auto& other : controls_)
                if (other->name() == control.name() && other.get() != &control &&
                    other->control_kind() == PageControlKind::OptionButton)
                    other->state().value = 0;
            state.value = 1;
            if (!was_chosen) run(control, ControlEvent::Click);
            return;
        }
        case PageControlKind::Slider:
        case PageControlKind::ScrollBar:
            if (state.value == value) return;
            state.value = value;
            run(control, ControlEvent::Change);
            return;
        default:
            if (state.value == value) return;
            state.value = value;
            run(control, ControlEvent::Click);
            return;
    }
}

void OptionPage::set_text(PageControl& control, const std::string& text) {
    if (control.state().text == text) return;
    control.state().text = text;
    run(control, ControlEvent::Change);
}

// ---- InitDialog parts

void OptionPage::fill() {
    for (const auto& step : fills_) step();
}

void OptionPage::apply_rules() {
    if (master_ == nullptr) {
        narrower_rules();
        return;
    }
    if (switch_is_on(master_target_.read())) {
        steuerelemente_aktivieren(*this, root_, true);
        narrower_rules();
    } else {
        steuerelemente_aktivieren(*this, root_, false);
        master_->set_enabled(true);
        // The master box may sit in a frame, which then has to stay usable too.
        for (const WindowControl* c = master_->container(); c != nullptr && c != &root_;) {
            PageControl* frame = nullptr;
            for (const auto& owned : controls_)
                if (owned.get() == c) frame = owned.get();
            if (frame == nullptr) break;
            frame->set_enabled(true);
            c = frame->container();
        }
    }
}

// ---- services

int OptionPage::message(std::string_view key, int style, const std::vector<std::string>& arguments) const {
    if (filling()) return ID_OK;
    return meldung(program_title(), style, key, arguments);
}

std::string OptionPage::text_of(std::string_view key) const { return inq(name_, key); }

void OptionPage::request_tree_rebuild() { options_hand_off().TreeRebuildRequested = true; }

}  // namespace galvora
