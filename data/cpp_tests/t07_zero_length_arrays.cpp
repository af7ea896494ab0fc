/*Error:-zla-
Success:-zla+
*/
// Whether an array may have zero elements.
struct kx_s { int kx_n; char kx_data[0]; };
kx_s kx_a;
