#pragma once
// The program's one printer: File > Print Setup chooses it (paper, orientation,
// printer), and Print, Print Preview and printing without a dialog all use it,
// so a choice made once holds for every later print of the run.

class QPrinter;

QPrinter& sharedPrinter();
