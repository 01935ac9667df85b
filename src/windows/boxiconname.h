#pragma once

class QMessageBox;

// Names the picture of a message box after its kind ("Information", "Warning",
// "Error", "Question"), so a screen reader reads the kind rather than an unnamed image.
// Call it once the box has its icon; a box without one is left as it is.
void nameBoxIcon(QMessageBox *box);
