// The program on the headless back end against a simulated control system, up to the main
// dialog, in a data folder of its own: what every in-process benchmark runs on.
#pragma once

#include <filesystem>
#include <memory>

#include "app/tav_app.h"
#include "platform/control/control.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/queued_driver.h"

namespace bench {

class Program {
  public:
    explicit Program(control::Config config);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    CTavApp& App() { return *m_app; }
    headless::QueuedDriver& Driver() { return m_driver; }
    const std::filesystem::path& DataFolder() const { return m_data; }

  private:
    std::filesystem::path m_dir;
    std::filesystem::path m_data;
    headless::QueuedDriver m_driver;
    headless::HeadlessBackend m_backend{m_driver};
    std::unique_ptr<CTavApp> m_app;
};

}  // namespace bench
