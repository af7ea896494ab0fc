/*Error:
Success:_ignore_paren
*/
// A keyword with a parenthesised list of register names after a function declarator.
void kx_f(void) XXX(a);
