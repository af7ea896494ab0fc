/*Error:
Success:
*/
// A qualifier that is only allowed on a pointer (restrict and its spellings).
int kx_v;
int *XXX kx_p = &kx_v;
void kx_f(int *XXX kx_q) { *kx_q = 0; }
