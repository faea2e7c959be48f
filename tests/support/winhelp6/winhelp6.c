/* Stands in for a WinHelp viewer of product version 6 in environment tests. */
int main(void) {
    return 0;
}
