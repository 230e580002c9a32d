/* Linked with one layer of the program whole and the layers below it; see CMakeLists.txt. */
int main(void) { return 0; }
