#pragma once
// Script modules: named pieces of script source, and the ordered list of them
// with change tracking. Names compare without regard to case, so a list holds
// at most one module per name.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace galvora {

// Module status codes.
enum : int32_t {
    kModuleCompileError = 1,
    kModuleNotCompiled = 2,
    kModuleCompiled = 3,
};

class ZNModul {
public:
    void Name(std::string_view name) { name_ = name; }
    const std::string& Name() const { return name_; }
    // Lines separated by CR LF. Setting it leaves the changed mark alone: the
    // editor sets that.
    void inhalt(std::string_view text) { text_ = text; }
    const std::string& inhalt() const { return text_; }
    void status(int32_t value) { status_ = value; }
    int32_t status() const { return status_; }
    void verändert(bool value) { changed_ = value; }
    bool verändert() const { return changed_; }

private:
    std::string name_;
    std::string text_;
    int32_t status_ = 0;
    bool changed_ = false;
};

// Builds module texts from the "!+" lines of a profile or script file. Every
// such line is one source line, the first one too: a module that begins with
// empty lines keeps them, so its compile errors name the lines the file shows.
class ModuleTextLines {
public:
    // The module the following lines belong to.
    void start(std::shared_ptr<ZNModul> module) {
        module_ = std::move(module);
        started_ = false;
    }
    // False before the first module of the file.
    bool in_module() const { return module_ != nullptr; }
    void line(std::string_view text) {
        if (!module_) return;
        module_->inhalt(started_ ? module_->inhalt() + "\r\n" + std::string(text) : std::string(text));
        started_ = true;
    }

private:
    std::shared_ptr<ZNModul> module_;
    bool started_ = false;
};

class ZNModule {
public:
    // Reuses a module of that name (any case), moving it to the end, or makes
    // a new one; sets name, text and status, clears its mark, marks the list.
    std::shared_ptr<ZNModul> add(std::string_view name, std::string_view inhalt, int32_t status);
    // By 1-based position or by name; nullptr when absent.
    std::shared_ptr<ZNModul> item(long position) const;
    std::shared_ptr<ZNModul> item(std::string_view name) const;
    // Removes by position or name; an absent entry is ignored. Marks the list in every case.
    void remove(long position);
    void remove(std::string_view name);
    void clear();
    // Makes target an independent copy (new module objects, each module's mark
    // carried over); the target counts as changed afterwards.
    void clone(ZNModule& target) const;
    long count() const { return static_cast<long>(modules_.size()); }

    void verändert(bool value) { list_changed_ = value; }
    // True when the list itself or any module is marked.
    bool verändert() const;
    void verändert_reset();

    auto begin() const { return modules_.begin(); }
    auto end() const { return modules_.end(); }

private:
    long find(std::string_view name) const;  // 0-based, -1 when absent

    std::vector<std::shared_ptr<ZNModul>> modules_;
    bool list_changed_ = false;
};

}  // namespace galvora
