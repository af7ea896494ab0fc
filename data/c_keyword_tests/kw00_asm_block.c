/*Error:
Success:asm
*/
/* An assembler block keyword that takes the following lines as assembler text up to its
   closing keyword. It comes first because such a keyword swallows any test text. */
void kx_f(void)
{
    XXX
        nop
    __endasm;
}
