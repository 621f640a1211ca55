#pragma once
// Rules of the drive queries that need no link.

// The model code of a drive from its series code (register 0x252F) and its
// capacity code (13-00): series 0x110 and 0x111 add their family base.
int ModelCodeFromSeries(int series, int capacity);

// A drive's software version from register 13-01 (1093 is version 1.093),
// rounded once to single precision so that it equals the thresholds the pages
// compare it with.
float VersionFromRegister(int value);
