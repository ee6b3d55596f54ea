// Prepare, Burn and Abort: the one burn the engine runs at a time, and the
// plan that Prepare leaves for Burn. Every call returns without waiting for
// a run's thread, which may be inside one of the program's event handlers.
#pragma once

#include "burner/run/BurnPlan.h"

#include "burner/EngineState.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

class BurnRun;

class BurnController {
public:
    static BurnController& Instance();

    int32_t Prepare();
    int32_t Burn();
    // Burn with the run's events going to `handlers`, and `finished` called
    // on the run's thread once it has raised its last event and its files
    // are complete or removed, however it ended (stopped included). Only
    // after a 0 result.
    int32_t Burn(const EventHandlers& handlers, std::function<void()> finished);
    int32_t Abort();

private:
    BurnController() = default;
    void RunEnded(BurnRun* run);

    std::mutex m_mutex; // guards m_plan, m_run and m_aborts; never held while a handler runs
    std::unique_ptr<BurnPlan> m_plan;
    uint64_t m_aborts = 0; // so that a Prepare an Abort overtook leaves no plan
    std::shared_ptr<BurnRun> m_run;
};
