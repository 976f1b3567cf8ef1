// A framework on the headless back end with a small resource set of its own and a clock the
// test controls.
#pragma once

#include <gtest/gtest.h>

#include "platform/fw/app.h"
#include "platform/fw/backend.h"
#include "platform/fw/clock.h"
#include "platform/fw/dialog.h"
#include "platform/fw/message_queue.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/queued_driver.h"

namespace fwtest {

inline constexpr int kFormDialog = 500;  // edit, lists, two radio groups, OK/Cancel
inline constexpr int kOtherDialog = 501;
inline constexpr int kGridDialog = 502;  // a grid placeholder and OK
inline constexpr int kGridPlace = 50;
inline constexpr int kEdit = 10;
inline constexpr int kList = 11;
inline constexpr int kCombo = 12;
inline constexpr int kRadioA1 = 20;
inline constexpr int kRadioA2 = 21;
inline constexpr int kRadioB1 = 22;
inline constexpr int kRadioB2 = 23;
inline constexpr int kSorted = 13;
inline constexpr int kDisabledButton = 30;
inline constexpr fw::UINT kMenuOpen = 40001;
inline constexpr fw::UINT kMenuGrey = 40002;
inline constexpr fw::UINT kMenuAppOnly = 40003;

fw::ResourceSet MakeTestResources();

class FwTest : public ::testing::Test {
  protected:
    FwTest();
    ~FwTest() override;

    headless::QueuedDriver driver;
    headless::HeadlessBackend backend{driver};
    fw::ManualClock clock;
    fw::ResourceSet resources;
};

}  // namespace fwtest
