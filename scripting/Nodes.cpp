// Calls and exception handling.
#include "Nodes.h"

#include <memory>
#include <new>

#include "StackGuard.h"
#include "util/FormatSettings.h"

namespace mirvex::script {
namespace {

struct CallDepthGuard {
    explicit CallDepthGuard(TContext& c) : ctx(c) {
        if (++ctx.CallDepth > kMaxCallDepth || StackNearlyExhausted()) {
            --ctx.CallDepth;
            RaiseError("EStackOverflow", "Stack overflow");
        }
    }
    ~CallDepthGuard() { --ctx.CallDepth; }
    TContext& ctx;
};

TValue MakeRef(TValue* target, THeapObject* keep) {
    auto* ref = new TRefObject;
    ref->Target = target;
    ref->Keep = keep;
    if (keep) ++keep->Refs;
    return TValue::Object(TValueTag::Ref, ref);
}

}  // namespace

TValue TUserCallNode::Eval(TFrame& f) {
    TContext& ctx = *f.Ctx;
    CountStep(ctx);
    CallDepthGuard depth(ctx);
    TRoutineCode& r = *m_routine;
    const std::size_t n = r.SlotTypes.size();
    TValue small[8];
    std::unique_ptr<TValue[]> big;
    TValue* slots = small;
    if (n > 8) {
        big = std::make_unique<TValue[]>(n);
        slots = big.get();
    }
    const int first = r.FirstParamSlot;
    for (std::size_t i = 0; i < n; ++i)
        if (static_cast<int>(i) < first || static_cast<int>(i) >= first + r.ParamCount)
            slots[i] = DefaultValue(r.SlotTypes[i]);

    // Values first: evaluating them may run script code, which must not
    // run between taking a var argument's address and the call.
    for (int j = 0; j < r.ParamCount; ++j)
        if (!r.ParamIsVar[static_cast<std::size_t>(j)])
            slots[first + j] = TValue(m_args[static_cast<std::size_t>(j)]->Eval(f).Deref());
    struct CopyBack {
        TLValueNode* Target;
        int Slot;
    };
    CopyBack copyBack[8];
    int copyBackCount = 0;
    for (int j = 0; j < r.ParamCount; ++j) {
        if (!r.ParamIsVar[static_cast<std::size_t>(j)]) continue;
        auto* lv = static_cast<TLValueNode*>(m_args[static_cast<std::size_t>(j)].get());
        TValue* place = lv->Address(f);
        if (place && lv->IsVariable()) {
            slots[first + j] = MakeRef(place, nullptr);
        } else if (place) {
            slots[first + j] = MakeRef(place, lv->Owner(f));
        } else if (copyBackCount < 8) {
            // A host variable or a character: passed in, written back after.
            slots[first + j] = TValue(lv->Eval(f).Deref());
            copyBack[copyBackCount++] = {lv, first + j};
        } else {
            RaiseError("Exception", "Too many var arguments without storage");
        }
    }

    TFrame frame;
    frame.Slots = slots;
    frame.Ctx = &ctx;
    TFrame* outer = &f;
    for (int k = m_callerLevel - (r.Level - 1); k > 0 && outer; --k) outer = outer->Outer;
    frame.Outer = outer;
    r.Body->Exec(frame);
    for (int k = 0; k < copyBackCount; ++k) copyBack[k].Target->Store(f, slots[copyBack[k].Slot]);
    return r.IsFunction ? std::move(slots[0]) : TValue();
}

TValue TNativeCallNode::Eval(TFrame& f) {
    const std::size_t n = m_args.size();
    TNativeCall call;
    call.Ctx = f.Ctx;
    call.Line = Line;
    call.Column = Column;
    call.Args.resize(n);
    std::vector<TValue> temps(n);
    for (std::size_t i = 0; i < n; ++i)
        if (!m_isVar[i]) {
            temps[i] = TValue(m_args[i]->Eval(f).Deref());
            call.Args[i] = &temps[i];
        }
    std::vector<std::size_t> copyBack;
    for (std::size_t i = 0; i < n; ++i) {
        if (!m_isVar[i]) continue;
        auto* lv = static_cast<TLValueNode*>(m_args[i].get());
        if (TValue* place = lv->Address(f)) {
            call.Args[i] = place;
        } else {
            temps[i] = TValue(lv->Eval(f).Deref());
            call.Args[i] = &temps[i];
            copyBack.push_back(i);
        }
    }
    TValue result;
    try {
        result = m_fn(call);
    } catch (const mirvex::EConvertError& e) {
        RaiseConvertError(e.what());
    } catch (const std::bad_alloc&) {
        RaiseError("EOutOfMemory", "Out of memory");
    } catch (const std::length_error&) {
        RaiseError("EOutOfMemory", "Out of memory");
    }
    for (std::size_t i : copyBack) static_cast<TLValueNode*>(m_args[i].get())->Store(f, temps[i]);
    return result;
}

TFlow TTryExceptNode::Exec(TFrame& f) {
    try {
        return m_body->Exec(f);
    } catch (TScriptRaise& raised) {
        TValue exception = std::move(raised.Exception);
        const int line = raised.Line, column = raised.Column;
        const TExceptionObject* object = exception.Exception();
        const TType* thrown = object ? m_types->ExceptionClass(object->ClassName) : nullptr;
        if (!thrown) thrown = m_types->ExceptionClass();
        struct Handling {
            Handling(TContext& c, const TValue& e) : ctx(c) { ctx.Handling.push_back(e); }
            ~Handling() { ctx.Handling.pop_back(); }
            TContext& ctx;
        };
        for (Handler& h : m_handlers) {
            if (!IsExceptionClass(thrown, h.Class)) continue;
            Handling handling(*f.Ctx, exception);
            if (h.Var) h.Var->Store(f, exception);
            return h.Body ? h.Body->Exec(f) : TFlow::Normal;
        }
        if (m_else) {
            Handling handling(*f.Ctx, exception);
            return m_else->Exec(f);
        }
        throw TScriptRaise{std::move(exception), line, column};
    }
}

}  // namespace mirvex::script
