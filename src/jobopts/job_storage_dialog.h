// Held jobs (proof, secure and stored jobs): the job storage dialog of the
// Job Options page, which chooses the job type and stores the job name, the
// PIN and "ask at every print" in the private DEVMODE, and the prompt that
// asks for the name (and PIN) when printing starts.
#pragma once

#include <windows.h>

namespace zd {

struct UiContext;

// The page's button: the printer has the job type item and a hard disk.
bool JobStorageOffered(const UiContext* ctx, bool hardDisk);

// Runs the dialog modally over `owner`. 1 when confirmed (the job type's
// working selection and the block's name, PIN and ask flag are then
// written), 0 after Cancel or the close box, -1 when it could not be made.
INT_PTR RunJobStorageDialog(HWND owner, UiContext* ctx);

// Brings the block's held-job word in line with the working job type (the
// page's own rules may have set it back to normal); writes nothing when it
// already agrees.
void StoreHeldJob(UiContext* ctx);

// DOCUMENTEVENT_CREATEDCPRE for a device context: when `devmode` carries the
// plug-in's block with the ask flag and a held job type, the user is asked
// for the name (and PIN). Confirmed: `*copy` receives a copy of `devmode` from
// the process heap with the fields filled (FreePromptCopy frees it).
enum class PrintPrompt { NotDue, Filled, Cancelled };
PrintPrompt PromptAtPrint(const DEVMODEW* devmode, DEVMODEW** copy);
void FreePromptCopy(DEVMODEW* copy);

} // namespace zd
