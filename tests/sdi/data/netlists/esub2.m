tsim = 1.0000e-03
td = 1.0000e-06
points = 9999999
% Circuit name : esub2

% Circuit Description
X = [ 'V1        3   0   1.0000e+00                 '   % V1
      'I01       4   0   0.0000e+00                 '   % Vo
      'R1        3   1   5.0000e+01                 '   % R1
      'E1        1   4   4.0000e+00     R1          '   % VCVS1
      'R2        4   2   5.0000e+01                 '   % R2
      'E2        2   0   4.0000e+00     R2          ' ] % VCVS2

% Output Description
Y = [ 'V         I01                                ' ] % Vo

% Number of nodes
numn = 5;
