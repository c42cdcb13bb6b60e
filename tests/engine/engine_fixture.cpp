#include "engine_fixture.h"

namespace calvora::engine::testing {

EngineFixture::EngineFixture() {
    recordEvents();
}

void EngineFixture::recordEvents() {
    engine.onInfoEvent = [this](const std::string& info, bool& cancel) {
        lines.push_back(info);
        cancel = cancelAtLine != 0 && lines.size() >= cancelAtLine;
    };
    engine.onProgressEvent = [this](std::int32_t percent, bool& cancel) {
        progress.push_back(percent);
        cancel = cancelAtProgress != 0 && progress.size() >= cancelAtProgress;
    };
}

}  // namespace calvora::engine::testing
