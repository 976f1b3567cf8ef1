// Sinks as the program implements them, recording what they are told and on which thread.
#pragma once

#include <array>
#include <thread>
#include <vector>

#include "platform/com/object.h"
#include "platform/control/sink_interfaces.h"

namespace control::testing {

class RecordingControlCenterSink final : public com::Object<IControlCenterSink> {
  public:
    HRESULT Notify1(std::int32_t) override { return com::S_OK; }
    HRESULT Notify2(std::int32_t) override { return com::S_OK; }
    HRESULT Notify3() override { return com::S_OK; }
    HRESULT Notify4(std::int32_t, std::int32_t) override { return com::S_OK; }
    HRESULT ConfigSetChanging() override {
        ++changing;
        threads.push_back(std::this_thread::get_id());
        return com::S_OK;
    }
    HRESULT Notify6() override { return com::S_OK; }

    int changing = 0;
    std::vector<std::thread::id> threads;
};

class RecordingBoardSink final : public com::Object<IBoardNotifySink> {
  public:
    struct Report {
        std::uint32_t cookie;
        std::uint16_t board;
        std::int32_t type;
        std::int32_t length;
        std::array<std::uint8_t, 8> data;
        std::thread::id thread;
    };

    HRESULT Notify(std::uint32_t cookie, std::uint16_t board, std::int32_t type,
                   std::int32_t dataLength, const std::uint8_t* data, std::int32_t, std::int32_t,
                   std::int32_t, std::int32_t) override {
        Report report{cookie, board, type, dataLength, {}, std::this_thread::get_id()};
        std::copy(data, data + 8, report.data.begin());
        reports.push_back(report);
        return com::S_OK;
    }

    std::vector<Report> reports;
};

// Holds a new sink with one reference.
template <class Sink>
com::ComPtr<Sink> MakeSink() {
    com::ComPtr<Sink> sink;
    sink.Attach(new Sink());
    sink->AddRef();
    return sink;
}

}  // namespace control::testing
