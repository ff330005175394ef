namespace vev_placeholder {
int Unused() { return 0; }
}  // namespace vev_placeholder
