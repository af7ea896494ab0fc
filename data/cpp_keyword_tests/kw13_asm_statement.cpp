/*Error:
Success:asm
*/
// An inline assembler statement.
void kx_f() { XXX("nop"); }
