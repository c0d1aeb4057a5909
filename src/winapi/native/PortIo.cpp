// IN EAX, DX from user mode. mingw-w64 has no __try/__except, so the instruction runs in a small
// assembly routine and a vectored exception handler, registered only around it, absorbs the
// exception that the instruction raises on a physical machine: it recognises the fault by its
// address (the routine's one-byte IN instruction), records the code in EDI and resumes after
// the instruction. Vectored handlers run before any frame-based handler, so no unwinding
// happens and the routine finishes normally.
//
// Vectored exception handling came with Windows XP. Its two functions are looked up by name, so
// that the program still starts on Windows 2000; there the instruction is not executed, since
// nothing could absorb its fault, and the call reports STATUS_ENTRYPOINT_NOT_FOUND instead.

#include "winapi/PortIo.h"
#include "winapi/SystemInfo.h"
#include "winapi/UniqueResource.h"

#include <cstddef>
#include <type_traits>

#include "winapi/native/WindowsHeaders.h"

namespace {

// What the routine reads and writes: the four registers, then the exception code (0 if none).
struct InDwordFrame {
    DWORD eax;
    DWORD ebx;
    DWORD ecx;
    DWORD edx;
    DWORD exception;
};
static_assert(offsetof(InDwordFrame, ebx) == 4 && offsetof(InDwordFrame, ecx) == 8);
static_assert(offsetof(InDwordFrame, edx) == 12 && offsetof(InDwordFrame, exception) == 16);

// The encoding of IN EAX, DX (0xED) is one byte long.
constexpr std::size_t InDwordLength = 1;

}  // namespace

// The routine and the address of its IN instruction, named by their assembler symbols so that
// both targets spell them alike (i686 would otherwise add a leading underscore).
extern "C" void ExecuteInDwordRoutine(InDwordFrame* frame) __asm__("tarnwick_in_dword");
extern "C" const unsigned char InDwordInstruction[] __asm__("tarnwick_in_dword_instruction");

// Loads the four registers from the frame, clears EDI, executes IN EAX, DX, and stores the four
// registers and EDI (the exception code the handler puts there) back. Every register it uses
// is saved and restored, EBX, ECX and EDX included.
#if defined(__x86_64__)
// Microsoft x64 convention: the frame arrives in RCX. The unwind directives describe the pushes,
// as every x64 function that is not a leaf must.
__asm__(R"(
    .text
    .globl tarnwick_in_dword
    .globl tarnwick_in_dword_instruction
    .seh_proc tarnwick_in_dword
tarnwick_in_dword:
    pushq %rbx
    .seh_pushreg %rbx
    pushq %rcx
    .seh_pushreg %rcx
    pushq %rdx
    .seh_pushreg %rdx
    pushq %rsi
    .seh_pushreg %rsi
    pushq %rdi
    .seh_pushreg %rdi
    .seh_endprologue
    movq %rcx, %rsi
    movl 0(%rsi), %eax
    movl 4(%rsi), %ebx
    movl 8(%rsi), %ecx
    movl 12(%rsi), %edx
    xorl %edi, %edi
tarnwick_in_dword_instruction:
    inl %dx, %eax
    movl %eax, 0(%rsi)
    movl %ebx, 4(%rsi)
    movl %ecx, 8(%rsi)
    movl %edx, 12(%rsi)
    movl %edi, 16(%rsi)
    popq %rdi
    popq %rsi
    popq %rdx
    popq %rcx
    popq %rbx
    ret
    .seh_endproc
)");
#elif defined(__i386__)
// cdecl: the frame is the one argument on the stack, above the five saved registers and the
// return address.
__asm__(R"(
    .text
    .globl tarnwick_in_dword
    .globl tarnwick_in_dword_instruction
tarnwick_in_dword:
    pushl %ebx
    pushl %ecx
    pushl %edx
    pushl %esi
    pushl %edi
    movl 24(%esp), %esi
    movl 0(%esi), %eax
    movl 4(%esi), %ebx
    movl 8(%esi), %ecx
    movl 12(%esi), %edx
    xorl %edi, %edi
tarnwick_in_dword_instruction:
    inl %dx, %eax
    movl %eax, 0(%esi)
    movl %ebx, 4(%esi)
    movl %ecx, 8(%esi)
    movl %edx, 12(%esi)
    movl %edi, 16(%esi)
    popl %edi
    popl %esi
    popl %edx
    popl %ecx
    popl %ebx
    ret
)");
#else
#error "IN EAX, DX needs an x86 target"
#endif

namespace winapi {

namespace {

// First in the chain: any exception raised by the IN instruction, and nothing else, is absorbed.
LONG CALLBACK AbsorbInDwordException(EXCEPTION_POINTERS* exception)
{
    if (exception->ExceptionRecord->ExceptionAddress != static_cast<const void*>(InDwordInstruction)) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    CONTEXT& context = *exception->ContextRecord;
#if defined(__x86_64__)
    context.Rdi = exception->ExceptionRecord->ExceptionCode;
    context.Rip += InDwordLength;
#else
    context.Edi = exception->ExceptionRecord->ExceptionCode;
    context.Eip += InDwordLength;
#endif
    return EXCEPTION_CONTINUE_EXECUTION;
}

// The two functions as kernel32.dll exports them (Windows XP and later), calling convention
// included. (decltype names them without importing them.)
using AddVectoredExceptionHandlerFunction = PVOID(WINAPI*)(ULONG first, PVECTORED_EXCEPTION_HANDLER handler);
using RemoveVectoredExceptionHandlerFunction = ULONG(WINAPI*)(PVOID handle);
static_assert(std::is_same_v<AddVectoredExceptionHandlerFunction, decltype(&::AddVectoredExceptionHandler)>);
static_assert(std::is_same_v<RemoveVectoredExceptionHandlerFunction, decltype(&::RemoveVectoredExceptionHandler)>);

// A registered handler and the function that removes it, which was looked up with the one that
// added it.
struct VectoredHandler {
    PVOID handle;
    RemoveVectoredExceptionHandlerFunction remove;
    bool operator==(const VectoredHandler&) const = default;
};

struct VectoredHandlerTraits {
    using Pointer = VectoredHandler;
    static Pointer Empty() { return {nullptr, nullptr}; }
    static void Close(Pointer handler) { handler.remove(handler.handle); }
};
using UniqueVectoredHandler = UniqueResource<VectoredHandlerTraits>;

constexpr ULONG CallFirst = 1;

}  // namespace

DWORD ExecuteInDword(PortIoRegisters& registers)
{
    const auto add = LookUpKernel32Function<AddVectoredExceptionHandlerFunction>("AddVectoredExceptionHandler");
    const auto remove =
        LookUpKernel32Function<RemoveVectoredExceptionHandlerFunction>("RemoveVectoredExceptionHandler");
    // Without the handler a fault would end the process, so the instruction is not executed.
    if (add == nullptr || remove == nullptr) {
        return STATUS_ENTRYPOINT_NOT_FOUND;
    }
    const PVOID handle = add(CallFirst, &AbsorbInDwordException);
    if (handle == nullptr) {
        return STATUS_NO_MEMORY;
    }
    const UniqueVectoredHandler handler(VectoredHandler{handle, remove});
    InDwordFrame frame{registers.eax, registers.ebx, registers.ecx, registers.edx, 0};
    ExecuteInDwordRoutine(&frame);
    if (frame.exception != 0) {
        return frame.exception;
    }
    registers.eax = frame.eax;
    registers.ebx = frame.ebx;
    registers.ecx = frame.ecx;
    registers.edx = frame.edx;
    return 0;
}

}  // namespace winapi
