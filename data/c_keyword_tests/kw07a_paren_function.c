/*Error:
Success:_ignore_paren
*/
/* A keyword with a parenthesised number after a function's parameter list (interrupt vectors,
   register banks). It must be tested before the keywords that stand there alone. */
void kx_isr(void) XXX(1) { }
