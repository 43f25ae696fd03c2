#include "ide/end_of_run_save.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <utility>

#include "errors/runtime_error.h"
#include "ide/source_module.h"
#include "text/unified_diff.h"
#include "util/file_io.h"

namespace vex::ide {

namespace {

// The texts in flight. The writer's files may cost more than the walk's work on a component (creating a
// file in a folder is slow where many were just deleted): the stager only waits once the texts it is
// ahead by hold this much. More costs fresh memory, which is slow to touch the first time: with 16 MB a
// fast walk ran ahead far enough on a project of a million lines to add 10 MB to its peak.
constexpr size_t kTextBytes = size_t{4} << 20;

}  // namespace

struct EndOfRunSave::Impl {
    explicit Impl(Project& project) : components(project.VBComponents()) {
        Reset();
        try {
            writer = std::thread([this] { Write(); });
        } catch (const std::system_error&) {
            // No thread to be had: Stage writes each component itself.
        }
    }

    ~Impl() {
        {
            const std::lock_guard<std::mutex> guard(lock);
            stop = true;
        }
        wake.notify_all();
        if (writer.joinable()) writer.join();
    }

    // What came of one component.
    struct Outcome {
        bool staged = false;
        uint64_t edits = 0;  // its module's Edits() when it was serialized
        bool changed = false;
        long lines = 0;
        std::optional<SaveFailure> refusal;
        std::optional<util::FileStamp> checked;  // its file's, when it was found as loaded
    };
    struct Job {
        size_t component;
        size_t text;  // into `texts`
        const std::string* bytes;  // texts[text], read without the lock
        std::string_view before;
        std::filesystem::path file;
    };

    void Reset() {
        outcome.assign(components.size(), Outcome{});
        given.clear();
        files = std::make_unique<util::StagedFiles>();  // the old one removes its temporary files
        error.clear();
        next = 0;
        outOfOrder = false;
    }

    void Stage(size_t c) {
        if (c < next) {
            outOfOrder = true;
            return;
        }
        next = c + 1;
        Outcome& out = outcome[c];
        out.staged = true;
        const Component& component = components[c];
        if (!component.Loaded()) return;
        size_t t;
        {
            std::unique_lock<std::mutex> guard(lock);
            // A text used before if one is free, else a new one while those in flight are few.
            wake.wait(guard, [&] { return !freeTexts.empty() || jobs.empty() || bytesInFlight < kTextBytes; });
            if (freeTexts.empty()) {
                texts.emplace_back();
                freeTexts.push_back(texts.size() - 1);
            }
            t = freeTexts.back();
            freeTexts.pop_back();
        }
        out.edits = component.Source().Edits();
        try {
            component.Source().SerializeInto(texts[t]);
        } catch (...) {
            const std::lock_guard<std::mutex> guard(lock);
            freeTexts.push_back(t);
            throw;
        }
        {
            const std::lock_guard<std::mutex> guard(lock);
            jobs.push_back({c, t, &texts[t], component.Source().Original(), component.Files().front()});
            bytesInFlight += texts[t].size();
        }
        wake.notify_all();
        if (!writer.joinable()) {
            std::unique_lock<std::mutex> guard(lock);
            RunNextJob(guard);
        }
    }

    // Every job staged is done; rethrows what a job threw.
    void Drain() {
        std::unique_lock<std::mutex> guard(lock);
        wake.wait(guard, [&] { return jobs.empty() && !working; });
        if (failure) std::rethrow_exception(std::exchange(failure, nullptr));
    }

    // The writer's thread: one job at a time, in the order staged, until the save is dropped.
    void Write() {
        std::unique_lock<std::mutex> guard(lock);
        for (;;) {
            wake.wait(guard, [&] { return stop || !jobs.empty(); });
            if (stop) return;
            RunNextJob(guard);
        }
    }

    // Saves the first job's component; `guard` holds `lock`, and holds it again on return.
    void RunNextJob(std::unique_lock<std::mutex>& guard) {
        const Job job = std::move(jobs.front());
        jobs.pop_front();
        working = true;
        guard.unlock();
        std::exception_ptr thrown;
        try {
            Save(job);
        } catch (...) {
            thrown = std::current_exception();
        }
        guard.lock();
        if (thrown && !failure) failure = thrown;
        freeTexts.push_back(job.text);
        bytesInFlight -= job.bytes->size();
        working = false;
        wake.notify_all();
    }

    void Save(const Job& job) {
        Outcome& out = outcome[job.component];
        const std::string& text = *job.bytes;
        out.changed = text != job.before;
        if (!out.changed) return;
        out.lines = text::ChangedLineCount(job.before, text);
        if (std::string why = SaveRefusal(job.file, job.before); !why.empty()) {
            out.refusal = SaveFailure{job.file, std::move(why)};
            return;
        }
        try {
            out.checked = util::StampOf(job.file);
        } catch (const errors::RuntimeError&) {
            // Moved() finds it again.
        }
        given.push_back(job.component);
        if (!error.empty()) return;  // after a failed write nothing is saved: no more are written
        try {
            files->Write(job.file, text);
        } catch (const errors::RuntimeError& e) {
            error = e.Description();
        }
    }

    // True when what was staged no longer stands: a component edited since, or one of those not staged
    // (staging goes in project order, so these come before the last one staged) whose text changed.
    bool Stale() {
        if (outOfOrder) return true;
        std::string text;
        for (size_t c = 0; c < next; ++c) {
            const Component& component = components[c];
            if (!component.Loaded()) continue;
            if (outcome[c].staged) {
                if (component.Source().Edits() != outcome[c].edits) return true;
                continue;
            }
            component.Source().SerializeInto(text);
            if (text != component.Source().Original()) return true;
        }
        return false;
    }

    // True when a file found as loaded may have changed on disk since: a run may take long after its
    // first components were staged.
    bool Moved() const {
        for (const size_t c : given) {
            const auto& checked = outcome[c].checked;
            try {
                const util::FileStamp now = util::StampOf(components[c].Files().front());
                if (!checked || now.mode != checked->mode || now.modified.tv_sec != checked->modified.tv_sec ||
                    now.modified.tv_nsec != checked->modified.tv_nsec)
                    return true;
            } catch (const errors::RuntimeError&) {
                return true;
            }
        }
        return false;
    }

    ProjectSave Finish() {
        Drain();
        // Staged anew from the first component when what was staged no longer stands.
        if (Stale() || Moved()) Reset();
        for (size_t c = next; c < components.size(); ++c) Stage(c);
        Drain();
        size_t renamed = 0;
        if (error.empty()) {
            try {
                files->Commit(&renamed);
            } catch (const errors::RuntimeError& e) {
                error = e.Description();
            }
        }
        ProjectSave result;
        for (size_t k = 0; k < given.size(); ++k) {
            const auto& file = components[given[k]].Files().front();
            if (error.empty() || k < renamed)
                result.saved.push_back(file);
            else
                outcome[given[k]].refusal = NotSavedFailure(file, error);
        }
        for (auto& out : outcome) {
            result.linesChanged += out.changed ? out.lines : 0;
            if (out.refusal) result.failures.push_back(std::move(*out.refusal));
        }
        return result;
    }

    std::vector<Component>& components;
    // The stager's side.
    std::vector<Outcome> outcome;  // by component; a job's own is the writer's until it is done
    size_t next = 0;               // the components before it were staged or passed over
    bool outOfOrder = false;
    // The writer's side, read once it is drained.
    std::vector<size_t> given;  // the components handed to `files` (or meant to be, after `error`), in order
    std::unique_ptr<util::StagedFiles> files;
    std::string error;  // the write that failed: nothing is saved then
    // Shared, under `lock`.
    std::deque<std::string> texts;  // each the stager's while free or being filled, then its job's (a deque:
                                    // a new one moves none of those being read)
    std::vector<size_t> freeTexts;
    size_t bytesInFlight = 0;  // the size of the texts of the jobs not done
    std::deque<Job> jobs;
    bool working = false;
    bool stop = false;
    std::exception_ptr failure;
    std::mutex lock;
    std::condition_variable wake;
    std::thread writer;
};

EndOfRunSave::EndOfRunSave(Project& project) : impl_(std::make_unique<Impl>(project)) {}

EndOfRunSave::~EndOfRunSave() = default;

void EndOfRunSave::Stage(const Component& component) {
    const auto& components = impl_->components;
    const std::less<const Component*> before;
    if (before(&component, components.data()) || !before(&component, components.data() + components.size()))
        throw std::invalid_argument("EndOfRunSave::Stage: not a component of the project");
    impl_->Stage(static_cast<size_t>(&component - components.data()));
}

ProjectSave EndOfRunSave::Finish() { return impl_->Finish(); }

}  // namespace vex::ide
