#pragma once

// Registers every text that the program looks up by wording, with its German value, so that the
// German table can equal the template and a lookup never falls back to "kein Defaultwert
// definiert". One explicit list instead of registration objects scattered over the units: the
// linker drops unreferenced objects of static libraries, and with them their registrations.
// Handed to SetCoreTextsRegistration by the designer, tintaro-cli, the tests and the benchmarks.
void RegisterCoreTexts();
