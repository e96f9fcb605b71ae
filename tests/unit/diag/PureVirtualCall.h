// Constructing a PureCallDerived makes a pure virtual call: the base's constructor calls Pure()
// before the derived part exists. For tests of the pure-call handler.
#pragma once

struct PureCallBase {
    PureCallBase() { CallPure(); } // runs before PureCallDerived exists: a pure virtual call
    virtual ~PureCallBase() = default;
    void CallPure() {
        // Hides the object from the optimiser, which would otherwise drop the call as undefined.
        // (The classes have external linkage for the same reason.)
        PureCallBase* self = this;
        __asm__ volatile("" : "+r"(self)::"memory");
        self->Pure();
    }
    virtual void Pure() = 0;
};
struct PureCallDerived : PureCallBase {
    void Pure() override {}
};
