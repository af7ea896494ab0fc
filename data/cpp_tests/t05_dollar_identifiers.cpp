/*Error:-dollar-
Success:-dollar+
*/
// Whether $ may appear in identifiers.
int kx_$a = 1;
int kx_b$ = 2;
