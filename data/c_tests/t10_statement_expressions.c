/*Error:-se-
Success:-se+
*/
/* Whether a compound statement in parentheses may be used as an expression. */
int kx_f(int kx_x) { return ({ int kx_y = kx_x + 1; kx_y; }); }
