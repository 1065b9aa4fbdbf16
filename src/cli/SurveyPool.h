#pragma once
// Scans several executables at once, one per worker, and hands the results
// over in the order the files were given: the numbering and the writing stay
// with the caller, one file after the other, so the names come out as they
// would from one file at a time.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "extract/Extractor.h"

struct FileSurvey {
    ExtractOutcome outcome;
    std::vector<CarvedBitmap> found;
    std::vector<std::string> messages; // reported while scanning, in order
};

class TSurveyPool {
public:
    // `exePaths` are Windows paths; an empty one is skipped (not opened).
    TSurveyPool(std::vector<std::string> exePaths, unsigned workers, CarveRules rules = {});
    ~TSurveyPool();
    TSurveyPool(const TSurveyPool&) = delete;
    TSurveyPool& operator=(const TSurveyPool&) = delete;

    // Waits for file i's scan (or, for a single file, runs it). Meanwhile
    // `tick` is told now and then how many bytes of all the files have been
    // scanned.
    const FileSurvey& Wait(std::size_t i, const std::function<void(std::int64_t)>& tick);

    std::int64_t BytesScanned() const;

private:
    void Work();
    // `tick`, when given, is told of the progress as the scan goes.
    void SurveyOne(std::size_t i, const std::function<void(std::int64_t)>* tick);

    std::vector<std::string> paths_;
    CarveRules rules_;
    std::vector<FileSurvey> surveys_;
    std::vector<char> done_;
    std::vector<std::atomic<std::int64_t>> scanned_;
    std::atomic<std::size_t> next_{0};
    std::mutex lock_;
    std::condition_variable finished_;
    std::vector<std::thread> workers_;
};
