/*Error:
Success:_ignore_paren
*/
// A keyword that takes a doubly parenthesised argument before or after a declaration.
XXX((unused)) static int kx_a;
static int kx_b XXX((unused));
int kx_use(void) { return kx_a + kx_b; }
