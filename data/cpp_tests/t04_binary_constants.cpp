/*Error:-bin-
Success:-bin+
*/
// Whether integer constants may be written in binary (0b101).
int kx_a = 0b101;
