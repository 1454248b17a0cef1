// What the module answers without a chip: its descriptor, the timer query and
// the entry points for which it leaves everything to the host.
#include "host/vorlinde.h"
#include "resources/texts.h"

extern "C" int DrawExSpecification(DrawExDescriptor* descriptor) {
  if (descriptor == nullptr) return 0;
  descriptor->field0 = 256;
  descriptor->field4 = 256;
  // Only the name and its NUL are written; the rest of the field stays.
  lstrcpyA(descriptor->displayName, texts::kDisplayName);
  descriptor->field60 = 5;
  descriptor->field64 = 1;
  descriptor->field68 = 44;
  return 0;
}

// No timed work: all bits set.
extern "C" int GetTimerSpan(void) { return -1; }

// The inert entry points take the host's arguments, read none of them and
// give fixed answers. Being plain (caller-cleans) functions, they can be
// declared without parameters. Each group shares one routine.
extern "C" int CalcDefaultRect(void) { return 1; }
extern "C" int DrawChip(void) __attribute__((alias("CalcDefaultRect")));
extern "C" int MouseClik(void) __attribute__((alias("CalcDefaultRect")));

extern "C" int DoTimer(void) { return 0; }
extern "C" int GetSaveData(void) __attribute__((alias("DoTimer")));
extern "C" int Resize(void) __attribute__((alias("DoTimer")));

extern "C" void Zoom(void) {}
