// Prepare, Burn and Abort: the one burn the engine runs at a time, and the
// plan that Prepare leaves for Burn. Every call returns without waiting for
// a run's thread, which may be inside one of the program's event handlers.
#pragma once

#include "burner/run/BurnPlan.h"

#include <cstdint>
#include <memory>
#include <mutex>

class BurnRun;

class BurnController {
public:
    static BurnController& Instance();

    int32_t Prepare();
    int32_t Burn();
    int32_t Abort();

private:
    BurnController() = default;
    void RunEnded(BurnRun* run);

    std::mutex m_mutex; // guards m_plan and m_run; never held while a handler runs
    std::unique_ptr<BurnPlan> m_plan;
    std::shared_ptr<BurnRun> m_run;
};
