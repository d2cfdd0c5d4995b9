// Program entry and composition root. The main window arrives with the next step of the gadget;
// until then the program starts and ends at once.

int main() { return 0; }
