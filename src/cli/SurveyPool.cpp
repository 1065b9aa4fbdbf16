#include "cli/SurveyPool.h"

#include <chrono>

TSurveyPool::TSurveyPool(std::vector<std::string> exePaths, unsigned workers, CarveRules rules)
    : paths_(std::move(exePaths)), rules_(rules), surveys_(paths_.size()), done_(paths_.size(), 0),
      scanned_(paths_.size()) {
    // A single file is scanned by the caller itself, in Wait: a worker would
    // only hand it over.
    const std::size_t count =
        paths_.size() < 2 ? 0 : std::min<std::size_t>(std::max(workers, 1u), paths_.size());
    for (std::size_t w = 0; w < count; ++w)
        workers_.emplace_back([this] { Work(); });
}

TSurveyPool::~TSurveyPool() {
    next_ = paths_.size(); // no new file is taken up
    for (std::thread& t : workers_)
        t.join();
}

void TSurveyPool::Work() {
    for (std::size_t i; (i = next_++) < paths_.size();) {
        SurveyOne(i, nullptr);
        {
            const std::lock_guard<std::mutex> hold(lock_);
            done_[i] = 1;
        }
        finished_.notify_all();
    }
}

void TSurveyPool::SurveyOne(std::size_t i, const std::function<void(std::int64_t)>* tick) {
    FileSurvey& survey = surveys_[i];
    if (paths_[i].empty())
        return;
    std::int64_t size = 0;
    ExtractHooks hooks;
    hooks.reportError = [&survey](const std::string& m) { survey.messages.push_back(m); };
    hooks.progress = [this, i, &size, tick](std::int64_t done, std::int64_t fileSize) {
        scanned_[i].store(done);
        size = fileSize;
        if (tick && *tick)
            (*tick)(BytesScanned());
    };
    hooks.carve.rules = rules_;
    TBitmapExtractor extractor(paths_[i], hooks);
    survey.outcome = extractor.Survey(survey.found);
    scanned_[i].store(size); // the whole file, once it is done
}

std::int64_t TSurveyPool::BytesScanned() const {
    std::int64_t sum = 0;
    for (const auto& s : scanned_)
        sum += s.load();
    return sum;
}

const FileSurvey& TSurveyPool::Wait(std::size_t i, const std::function<void(std::int64_t)>& tick) {
    if (workers_.empty() && !done_[i]) {
        SurveyOne(i, &tick);
        done_[i] = 1;
    }
    std::unique_lock<std::mutex> hold(lock_);
    while (!done_[i]) {
        finished_.wait_for(hold, std::chrono::milliseconds(100));
        if (tick && !done_[i]) {
            hold.unlock();
            tick(BytesScanned());
            hold.lock();
        }
    }
    return surveys_[i];
}
