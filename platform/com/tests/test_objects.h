// Two small interfaces and an object implementing both, with a destruction flag, for the tests
// of reference counting and interface queries.
#pragma once

#include "platform/com/object.h"

namespace com::testing {

class IFoo : public IUnknown {
  public:
    static constexpr IID kIid = Guid("{11111111-2222-3333-4444-555555555555}");
    virtual int Foo() = 0;

  protected:
    ~IFoo() override = default;
};

class IBar : public IUnknown {
  public:
    static constexpr IID kIid = Guid("{66666666-7777-8888-9999-AAAAAAAAAAAA}");
    virtual int Bar() = 0;

  protected:
    ~IBar() override = default;
};

inline constexpr IID kNotOffered = Guid("{12345678-1234-1234-1234-123456789ABC}");

class Probe final : public Object<IFoo, IBar> {
  public:
    explicit Probe(bool* destroyed) : m_destroyed(destroyed) {}
    ~Probe() override {
        if (m_destroyed != nullptr) {
            *m_destroyed = true;
        }
    }
    int Foo() override { return 1; }
    int Bar() override { return 2; }

  private:
    bool* m_destroyed;
};

// A new Probe holding one reference, as a factory hands it out.
inline IFoo* NewProbe(bool* destroyed) {
    IFoo* foo = nullptr;
    CreateObject<Probe>(IFoo::kIid, OutPtr(&foo), destroyed);
    return foo;
}

}  // namespace com::testing
