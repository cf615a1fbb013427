tsim = 1.0000e-03
td = 1.0000e-06
points = 9999999
x0 = [ 0.0000e+00      ]
Cy = [ 0.0000e+00     -1.0000e+00     ]
Ct = [ 0.0000e+00     0.0000e+00     0.0000e+00     0.0000e+00      ]
Csw = [ 1    ]
Cc = [ 2.0000e+00      ]
% Circuit name : /home/user/series

% Circuit Description
X = [ 'V1        1   0   1.0000e+00                 '   % V1
      'L1        1   2   1.0000e-03                 '   % L1
      'V01       2   3   0.0000e+00                 '   % IL
      'R1        4   0   1.0000e+00                 '   % R1
      'I01       3   0   0.0000e+00                 ' ]

% Output Description
Y = [ 'I         V01                                '   % IL
      'V         I01                                ' ]

% Number of nodes
numn = 5;
