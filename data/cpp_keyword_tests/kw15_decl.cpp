/*Error:
Success:decl
*/
// An identifier that the compiler declares itself as a variable (a register).
void kx_f() { XXX = XXX + 1; }
